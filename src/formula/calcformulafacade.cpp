#include "formula/calcformulafacade.h"

#include "formula/calc2texstring.h"
#include "formula/calcops.h"
#include "formula/mathfault.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {
const QString kClassName = QStringLiteral("TCalcFormulaFacade");
}

std::unique_ptr<TCalcFormulaFacade> TCalcFormulaFacade::createCalcFormulaFacade()
{
    return std::unique_ptr<TCalcFormulaFacade>(new TCalcFormulaFacade());
}

TCalcFormulaFacade::TCalcFormulaFacade() = default;

TCalcFormulaFacade::~TCalcFormulaFacade()
{
    fTree.reset();
}

QString TCalcFormulaFacade::errorMessage() const
{
    return fParser ? fParser->errorMessage() : QString();
}

const TDimensionInfo &TCalcFormulaFacade::dimensionInfo() const
{
    if (FErrorFlag != 0)
        throw ESouteigai(kClassName,
            QStringLiteral("数式にエラーがありますので, 次数は計算できません。"),
            QStringLiteral("dimensionInfo"));
    return fDimension;
}

int TCalcFormulaFacade::analyzeFormula(const QString &text)
{
    try {
        fTree.reset();
        fParser.reset();
        fSwitch.apply(fSymbolList);
        TStringReader reader(text);
        fParser = std::make_unique<TInfix2tree>(fSymbolList);
        fTree = fParser->startCompile(reader);
        FErrorFlag = fParser->errorFlag();
        fDimension = FErrorFlag == 0 && fTree ? computeDegrees(*fTree) : TDimensionInfo();
        releaseUnusedNumbers();
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("analyzeFormula"));
    }
    return FErrorFlag;
}

void TCalcFormulaFacade::compileNode2calcCode(const TTokenNode *node)
{
    try {
        fCalculator.unload();
        fCode = std::make_unique<TCalcCodeList>(fSymbolList);
        if (FErrorFlag != 0 || !node)
            return;
        fCode->appendTree(node);
        try {
            TOptimizeCalcCodeList::optimize(*fCode);
        } catch (const EMathError &) {
            // A constant part of the formula overflows: the formula is wrong.
            FErrorFlag = 1;
            return;
        }
        fCode->prepare();
        fCalculator.load(*fCode);
        releaseUnusedNumbers();
    } catch (const EMyFatalException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(kClassName, e.message(), QStringLiteral("compileNode2calcCode"));
    }
}

void TCalcFormulaFacade::releaseUnusedNumbers()
{
    // Numbers are made while formulas are read and folded; once the tokens
    // and the code that use them are replaced they are garbage, and a facade
    // that lives long (a dialog's preview, recompiled on every keystroke)
    // would otherwise collect them without end.
    std::vector<const TCalcSymbol *> used;
    if (fParser && fParser->tokenList()) {
        const TMyTokenList &tokens = *fParser->tokenList();
        for (qsizetype i = 0; i < tokens.count(); ++i)
            if (tokens.at(i)->kind() != TMyTokentype::mt_invalid)
                used.push_back(static_cast<const TCalcToken *>(tokens.at(i))->symbol());
    }
    if (fCode)
        for (const TCalcCode &c : fCode->entries())
            used.push_back(c.symbol);
    std::sort(used.begin(), used.end());
    fSymbolList.releaseNumbersExcept(used);
}

QString TCalcFormulaFacade::getTeXString()
{
    QString text;
    if (fTree)
        calc2TeXString(*fTree, false, text);
    return text;
}

int TCalcFormulaFacade::compileFormula(const QString &text)
{
    if (analyzeFormula(text) == 0)
        compileNode2calcCode(fTree.get());
    return FErrorFlag;
}

void TCalcFormulaFacade::compileSubtree(const TTokenNode *node)
{
    FErrorFlag = 0;
    compileNode2calcCode(node);
}

void TCalcFormulaFacade::calculateBatch(
    const TVariable &variable, const double *values, double *results, qsizetype count) const
{
    if (FErrorFlag != 0) {
        std::fill(results, results + count, calcops::kNaN);
        return;
    }
    fCalculator.calculateBatch(variable, values, results, count);
}

bool TCalcFormulaFacade::isValidNumberFormula(const QString &text)
{
    if (fSwitch.onOff().anyVariable())
        return true;
    try {
        if (compileFormula(text) != 0)
            return false;
        return !std::isnan(calculate());
    } catch (const std::exception &) {
        return false;
    }
}

} // namespace zarno
