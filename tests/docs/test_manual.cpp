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
#include <QRegularExpression>
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
    EXPECT_EQ(missingFrom(text, tools).join(QLatin1Char(' ')).toStdString(), "") << "figure tools";

    QStringList commands;
    for (const TCommandActionProperty &c : TCommandTable::commands())
        if (!c.caption.isEmpty())
            commands << TCommandTable::plainCaption(c.caption);
    EXPECT_EQ(missingFrom(text, commands).join(QLatin1Char(' ')).toStdString(), "") << "commands";

    QStringList functions;
    for (const TCalcSymbol *s : TCalcSymbolTable::getInstance().notVarConstSymbols())
        if (s->kind() == TSymbolKind::OperatorFunction)
            functions << s->name();
    ASSERT_FALSE(functions.isEmpty());
    EXPECT_EQ(missingFrom(text, functions).join(QLatin1Char(' ')).toStdString(), "") << "functions";
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
    // A command name is letters after the backslash ("\alpha") or signs
    // ("\,"); the table's other entries stand in for scripts inside the
    // layout and cannot be typed. A letter name counts only where no letter
    // follows it ("\le" is not named by "\leq").
    static const QRegularExpression letters(QStringLiteral("^\\\\[A-Za-z]+$"));
    static const QRegularExpression signs(QStringLiteral("^\\\\[^A-Za-z]+$"));
    const QString text = manualText();
    QStringList missing;
    for (const QString &c : commands) {
        if (signs.match(c).hasMatch()) {
            if (!text.contains(c))
                missing << c;
        } else if (letters.match(c).hasMatch()) {
            const QRegularExpression named(
                QRegularExpression::escape(c) + QStringLiteral("(?![A-Za-z])"));
            if (!named.match(text).hasMatch())
                missing << c;
        }
    }
    EXPECT_EQ(missing.join(QLatin1Char(' ')).toStdString(), "") << "typeset commands";
}

} // namespace
