#pragma once

#include "formula/calccode.h"
#include "formula/calcdimension.h"
#include "formula/calcsymbollist.h"
#include "formula/calculator.h"
#include "formula/infix2tree.h"
#include "formula/tokennode.h"

#include <limits>
#include <memory>

namespace zarno {

// The one entry to the formula calculator. Every formula of the program (a
// point's coordinate, a graph, a label, a number field) has its own facade:
// compile the text once, then set the variables and calculate as often as
// needed. Evaluation never raises for a mathematical reason; a formula
// without a value there gives NaN.
//
// Variables are shared by every facade and evaluation is not re-entrant: set
// the variables and calculate in one step.
class TCalcFormulaFacade
{
public:
    static std::unique_ptr<TCalcFormulaFacade> createCalcFormulaFacade();
    ~TCalcFormulaFacade();
    TCalcFormulaFacade(const TCalcFormulaFacade &) = delete;
    TCalcFormulaFacade &operator=(const TCalcFormulaFacade &) = delete;

    // The variables the next analysis allows (all off after construction).
    void setCalcSymbolOnOff(const TCalcSymbolOnOff &onOff) { fSwitch.setOnOff(onOff); }
    const TCalcSymbolOnOff &calcSymbolOnOff() const { return fSwitch.onOff(); }
    TControlCalcSymbolOnOff &symbolSwitch() { return fSwitch; }

    // Parses text into a tree; answers the error flag (0 success, 1 error).
    int analyzeFormula(const QString &text);
    // analyzeFormula, then code generation, constant folding and preparation.
    int compileFormula(const QString &text);
    // Compiles one node of the current tree (with its subtree) as the code.
    void compileSubtree(const TTokenNode *node);

    // The value at the variables' current values; NaN when the formula has
    // none there or the last compilation failed.
    double calculate() const
    {
        return FErrorFlag != 0 ? std::numeric_limits<double>::quiet_NaN() : fCalculator.calculate();
    }
    // calculate() at each of count values of one variable, in one pass of
    // the code: for graphs, which sample a formula thousands of times.
    void calculateBatch(
        const TVariable &variable, const double *values, double *results, qsizetype count) const;

    // For number fields that must hold a constant: true at once when any
    // variable is enabled; otherwise true when text compiles to a value.
    bool isValidNumberFormula(const QString &text);

    TVariable *mustFindVar(const QString &name) const { return fSymbolList.mustFindVar(name); }
    TVariable *mustFindShapeVar(int kind, int number, const QString &attribute) const
    {
        return fSymbolList.mustFindShapeVar(kind, number, attribute);
    }

    int errorFlag() const { return FErrorFlag; }
    // The last analysed formula as typeset text, also when it has an error
    // (its unreadable rest after the marker "\?"); empty without a tree.
    QString getTeXString();
    // The degree record of the last analysed formula: whether it is a
    // polynomial of degree at most 4 in its free variable. Raises when the
    // formula has an error.
    const TDimensionInfo &dimensionInfo() const;
    // The last syntax error's message, with its position; empty otherwise.
    QString errorMessage() const;
    const TTokenNode *tree() const { return fTree.get(); }
    const TInfix2tree *parser() const { return fParser.get(); }
    const TCalcCodeList *code() const { return fCode.get(); }
    const TCalculator &calculator() const { return fCalculator; }
    TCalcSymbolList &symbolList() { return fSymbolList; }

private:
    TCalcFormulaFacade();
    void compileNode2calcCode(const TTokenNode *node);
    void releaseUnusedNumbers();

    TCalcSymbolList fSymbolList;
    // The tree points into the parser's tokens: it goes first.
    std::unique_ptr<TInfix2tree> fParser;
    std::unique_ptr<TTokenNode> fTree;
    std::unique_ptr<TCalcCodeList> fCode;
    TCalculator fCalculator;
    TControlCalcSymbolOnOff fSwitch;
    TDimensionInfo fDimension;
    int FErrorFlag = 1;
};

} // namespace zarno
