// The manual must keep up with the program: every figure tool, every
// command, every function of the formula language and every command of the
// typeset language is named in it.
#include "app/logic/commandtable.h"
#include "core/figurecatalog.h"
#include "formula/calcsymbol.h"
#include "formula/calcsymbollist.h"
#include "platform/qtfontcatalog.h"
#include "typeset/texsymbol.h"
#include "typeset/textoken.h"
#include "typeset/typesetting.h"

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

TEST(Manual, ShowsEveryCommandOfTheTypesetLanguage)
{
    initializeTypesetting(TQtFontCatalog::instance());
    QStringList commands;
    for (const auto &entry : TTeXDrawSymbolList().entries())
        if (entry->name().startsWith(QLatin1Char('\\')))
            commands << entry->name();
    for (const QString &paren : TParenOrGroupingInfoList::instance().texts())
        if (paren.startsWith(QLatin1Char('\\')))
            commands << paren;
    ASSERT_GT(commands.size(), 50);
    // Each named whole, not only as the start of a longer one ("\\le" in
    // "\\leq").
    QStringList missing;
    const QString text = manualText();
    for (const QString &c : commands)
        if (!text.contains(c + QLatin1Char('`')) && !text.contains(c + QLatin1Char(' '))
            && !text.contains(c + QLatin1Char('{')))
            missing << c;
    EXPECT_EQ(missing, QStringList()) << "typeset commands";
}

} // namespace
