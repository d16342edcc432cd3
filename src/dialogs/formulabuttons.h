#pragma once

#include "formula/calcsymbollist.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace zarno {

// The two languages the formula dialog takes.
enum class TFormulaMode { fmCalc = 0, fmTeX = 1 };

// One palette button: what it inserts (the first "@" marks where the caret
// goes) and the typeset text on its face.
struct TFormulaButtonInfo
{
    QString name;
    int tab = 0;
    QString templateText;
    QString face;
};

// The palettes' tabs, in order, and the size their faces are typeset in.
const QStringList &formulaTabCaptions();
double formulaTabFacePt(int tab);

// The buttons of a palette. In calculation mode only the symbols the switch
// enables get a button, so shape variables appear exactly while the formula
// may use them.
std::vector<TFormulaButtonInfo> formulaButtons(TFormulaMode mode, const TCalcSymbolOnOff &onOff);

// The text after inserting a template into text in place of the selection
// [selStart, selStart + selLength): the caret goes where the template's "@"
// was, else after the inserted text.
struct TInsertion
{
    QString text;
    int caret = 0;
};
TInsertion insertTemplate(
    const QString &text, int selStart, int selLength, const QString &templateText);

} // namespace zarno
