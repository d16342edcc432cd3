#pragma once

#include "formula/basetoken.h"
#include "formula/calcsymbol.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zarno {

// Which variables a formula may use. All off: the formula is a constant.
struct TCalcSymbolOnOff
{
    bool xOn = false;
    bool yOn = false;
    int pointCount = 0;
    int circleCount = 0;
    int ellipseCount = 0;
    int lineCount = 0;

    int shapeVariableCount() const { return pointCount + circleCount + ellipseCount + lineCount; }
    bool anyVariable() const { return xOn || yOn || shapeVariableCount() > 0; }
    bool operator==(const TCalcSymbolOnOff &) const = default;
};

// The kinds of variables, which index the prefix table.
enum TVariableKind : int {
    vkX = 0,
    vkY = 1,
    vkPoint = 2,
    vkCircle = 3,
    vkEllipse = 4,
    vkLine = 5,
};

// The part of the symbol table shared by every formula: operators, functions,
// other symbols, constants, the variables and the two value stacks. Built on
// first use, lives until the program ends.
class TCalcSymbolTable
{
public:
    static TCalcSymbolTable &getInstance();
    TCalcSymbolTable(const TCalcSymbolTable &) = delete;
    TCalcSymbolTable &operator=(const TCalcSymbolTable &) = delete;

    // Operators, functions, other symbols and constants, in table order.
    const std::vector<TCalcSymbol *> &notVarConstSymbols() const { return FNotVarConstSymbolList; }
    // x, y and the shape variables, in creation order.
    const std::vector<TVariable *> &variables() const { return fVariables; }
    // Every name in lower case, longest first, then alphabetically.
    const QStringList &nameList() const { return fNameList; }

    // Enabled symbols only; names compare ignoring case.
    TCalcSymbol *findNotVarConst(const QString &name) const;
    TVariable *findVariable(const QString &name) const;
    // The first entry of the name list that text begins with, ignoring case.
    QString longestNamePrefix(QStringView text) const;
    int longestVariableName() const { return fLongestVariableName; }
    // Whether some variable name begins with this text (ignoring case).
    bool startsVariableName(const QString &text) const;

    void applyOnOff(const TCalcSymbolOnOff &onOff);

    // The stacks every compiled formula runs on; 111 values each.
    TCalcStacks &stacks() { return fStacks; }

    static QString variablePrefix(int kind);
    static const QStringList &shapeAttributes(int kind);
    static constexpr int kStackNumber = 110;

private:
    TCalcSymbolTable();
    template <typename T, typename... Args> T *add(Args &&...args);
    void addVariable(const QString &name, int kind, int number);

    std::vector<std::unique_ptr<TCalcSymbol>> fOwned;
    std::vector<TCalcSymbol *> FNotVarConstSymbolList;
    std::vector<TVariable *> fVariables;
    QHash<QString, TCalcSymbol *> fNotVarConstByName;
    QHash<QString, TVariable *> fVariableByName;
    QStringList fNameList;
    // Indexes into fNameList by first letter (a..z), in list order.
    std::vector<int> fNamesByLetter[26];
    int fLongestVariableName = 0;
    QSet<QString> fVariablePrefixes; // lower case
    TDoubleStack fDoubleStack { kStackNumber };
    TIntegerStack fIntegerStack { kStackNumber };
    TCalcStacks fStacks { fDoubleStack, fIntegerStack };
};

// One formula facade's view of the symbol table: the shared part plus its own
// number symbols, which live as long as the list.
class TCalcSymbolList
{
public:
    TCalcSymbolList();
    TCalcSymbolList(const TCalcSymbolList &) = delete;
    TCalcSymbolList &operator=(const TCalcSymbolList &) = delete;

    TCalcSymbolTable &table() const { return fTable; }
    TCalcStacks &stacks() const { return fTable.stacks(); }

    // The first enabled symbol of that name (ignoring case) among operators,
    // functions, other symbols and constants, then among the own numbers.
    TCalcSymbol *findSymbol(const QString &name) const;
    TCalcSymbol *mustFindSymbol(const QString &name) const;
    TOperator *findOp(const QString &name) const;
    TOperator *mustFindOp(const QString &name) const;
    // The text alone, then with the following tokens' texts appended, until
    // an enabled variable has that name; the tokens used are consumed. When
    // none does, the iterator is put back.
    TVariable *findVariableSpanning(const QString &text, TBaseTokenIterator &it) const;
    TVariable *mustFindVar(const QString &name) const;
    TVariable *mustFindShapeVar(int kind, int number, const QString &attribute) const;
    QString longestNamePrefix(QStringView text) const { return fTable.longestNamePrefix(text); }

    TNumberDouble *addNumber(const QString &text);
    // As addNumber, but nothing for a text that is not a number.
    TNumberDouble *tryAddNumber(const QString &text);
    TNumberInteger *addInteger(const QString &text);
    const std::vector<std::unique_ptr<TCalcSymbol>> &ownSymbols() const { return fOwn; }
    // Frees the own numbers that are not in used: what no token or code of
    // the facade refers to any more.
    // used must be sorted.
    void releaseNumbersExcept(const std::vector<const TCalcSymbol *> &used);

    void applyOnOff(const TCalcSymbolOnOff &onOff) { fTable.applyOnOff(onOff); }

private:
    [[noreturn]] void notFound(const QString &name, const QString &what) const;
    void addOwn(std::unique_ptr<TCalcSymbol> symbol);

    TCalcSymbolTable &fTable;
    // Few, and looked up only for texts that are no shared symbol.
    std::vector<std::unique_ptr<TCalcSymbol>> fOwn;
};

// Holds the switch record of one analysis and applies it to the variables.
class TControlCalcSymbolOnOff
{
public:
    const TCalcSymbolOnOff &onOff() const { return fOnOff; }
    TCalcSymbolOnOff &onOff() { return fOnOff; }
    void setOnOff(const TCalcSymbolOnOff &onOff) { fOnOff = onOff; }
    void apply(TCalcSymbolList &list) const { list.applyOnOff(fOnOff); }

private:
    TCalcSymbolOnOff fOnOff;
};

// Walks the shared non-variable symbols, then the list's own numbers, then
// the variables.
class TCalcSymbolIterator
{
public:
    explicit TCalcSymbolIterator(const TCalcSymbolList &list);
    bool hasNext() const;
    TCalcSymbol *next();

private:
    const TCalcSymbolList &fList;
    int fStage = 0;
    std::size_t fIndex = 0;
    void settle();
};

} // namespace zarno
