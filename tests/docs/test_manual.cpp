// The manual must keep up with the program: every figure tool, every
// command and every function of the formula language is named in it.
#include "app/logic/commandtable.h"
#include "core/figurecatalog.h"
#include "formula/calcsymbol.h"
#include "formula/calcsymbollist.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// Every Markdown file of the manual, as one text.
QString manualText()
{
    QString text;
    const QDir dir(QStringLiteral(ZARNO_MANUAL_DIR));
    for (const QString &name : dir.entryList({ QStringLiteral("*.md") }, QDir::Files)) {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(f.readAll());
    }
    return text;
}

QStringList missingFrom(const QString &text, const QStringList &names)
{
    QStringList missing;
    for (const QString &n : names)
        if (!text.contains(n))
            missing << n;
    return missing;
}

TEST(Manual, NamesEveryFigureToolCommandAndFunction)
{
    const QString text = manualText();
    ASSERT_FALSE(text.isEmpty()) << "no manual in " ZARNO_MANUAL_DIR;

    QStringList tools;
    for (int i = 0; i < TFigureInfo::kRowCount; ++i) {
        const TFigureActionInfo &row = TFigureInfo::row(i);
        if (row.hasTool)
            tools << row.guidance;
    }
    EXPECT_EQ(missingFrom(text, tools), QStringList()) << "figure tools";

    QStringList commands;
    for (const TCommandActionProperty &c : TCommandTable::commands())
        if (!c.caption.isEmpty())
            commands << TCommandTable::plainCaption(c.caption);
    EXPECT_EQ(missingFrom(text, commands), QStringList()) << "commands";

    QStringList functions;
    for (const TCalcSymbol *s : TCalcSymbolTable::getInstance().notVarConstSymbols())
        if (s->kind() == TSymbolKind::OperatorFunction)
            functions << s->name();
    ASSERT_FALSE(functions.isEmpty());
    EXPECT_EQ(missingFrom(text, functions), QStringList()) << "functions";
}

} // namespace
