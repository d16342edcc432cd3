#pragma once

#include "core/figurecatalog.h"
#include "model/tracerecord.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

namespace zarno {

class TCalcFormulaFacade;
class TControlCalcSymbolOnOff;
struct TCalcSymbolOnOff;
class TShape;
class TShapeList;
class TVariable;

// Binds one parent shape to its shape variables (p1.x, c2.r, l1.angle …):
// before a formula is evaluated the setter copies the shape's attributes
// into them. In trace mode it leaves the variables at recorded values, so
// that a locus can redraw a construction as it was.
class TAbstractShapeValueSetter : public std::enable_shared_from_this<TAbstractShapeValueSetter>
{
public:
    virtual ~TAbstractShapeValueSetter();
    TAbstractShapeValueSetter(const TAbstractShapeValueSetter &) = delete;
    TAbstractShapeValueSetter &operator=(const TAbstractShapeValueSetter &) = delete;

    // The shape's attributes, in the order of its kind's variables.
    virtual std::vector<double> currentValues() const = 0;
    void pushCurrent() { s_setShapeValue(currentValues()); }
    // A record of the current values; the setter must be held by a
    // shared_ptr (as its list holds it).
    std::unique_ptr<TAbstractValueRecord> createValueRecord() const;

    // Pushes values unless in trace mode.
    void s_setShapeValue(const std::vector<double> &values);
    void s_setTraceModeOnAndSetRecordedValue(const std::vector<double> &values);
    void clearTraceMode() { fTraceMode = false; }
    bool traceMode() const { return fTraceMode; }

    int kind() const { return fKind; }
    int number() const { return fNumber; }
    const TShape &shape() const { return fShape; }
    // The variables found through the first facade, in attribute order.
    const std::vector<TVariable *> &firstVariables() const { return fFirstVariables; }

    // The setter of the shape's kind; nothing for a shape without variables.
    static std::unique_ptr<TAbstractShapeValueSetter> create(
        const TShape &shape, int number, TCalcFormulaFacade *first, TCalcFormulaFacade *second);
    // The variable kind of a shape type (vkPoint …), or -1.
    static int kindOf(TShapetype type);

protected:
    TAbstractShapeValueSetter(int kind, const TShape &shape, int number, TCalcFormulaFacade *first,
        TCalcFormulaFacade *second);

private:
    void checkCount(const std::vector<double> &values, const QString &method) const;
    void push(const std::vector<double> &values);

    int fKind;
    int fNumber;
    const TShape &fShape;
    bool fTraceMode = false;
    bool fHasFirst;
    bool fHasSecond;
    std::vector<TVariable *> fFirstVariables;
    std::vector<TVariable *> fSecondVariables;
};

// A snapshot of one shape's values, made by its setter. The setter is held
// weakly: a formula compiled again builds new setters, and a record kept by
// a locus from before must then do nothing rather than reach a dead one.
class TValueRecordOfShape : public TAbstractValueRecord
{
public:
    TValueRecordOfShape(
        std::weak_ptr<TAbstractShapeValueSetter> setter, int kind, std::vector<double> values);

    // The setter enters trace mode with these values in its variables.
    void restore() override;
    // The setter leaves trace mode.
    void release() override;
    // 0 equal, 1 this greater, 2 this smaller: values in order, equal within
    // 1e-5, the first unequal pair decides. Records of different kinds
    // compare by kind.
    int compare(const TAbstractValueRecord &other) const override;
    QString asText() const override;

    int kind() const { return fKind; }
    const std::vector<double> &values() const { return fValues; }

private:
    std::weak_ptr<TAbstractShapeValueSetter> fSetter;
    int fKind;
    std::vector<double> fValues;
};

// The setters of one construction, in parent order.
class TShapeValueSetterList
{
public:
    TShapeValueSetterList();
    ~TShapeValueSetterList();

    // Compiles the formulas (errors stay in the facades), then makes a setter
    // for each parent: points p1, p2 …, lines l1 …, circles c1 …, ellipses
    // e1 … in the order they come.
    void setRelation(const TShapeList &parents, const QString &firstText,
        TCalcFormulaFacade *firstFacade, TCalcFormulaFacade *secondFacade,
        const QString &secondText);
    void pushAll() const;
    // A record of each setter's current values.
    std::vector<std::unique_ptr<TAbstractValueRecord>> createValueRecords() const;
    const std::vector<std::shared_ptr<TAbstractShapeValueSetter>> &setters() const
    {
        return fSetters;
    }

private:
    std::vector<std::shared_ptr<TAbstractShapeValueSetter>> fSetters;
};

// Which shape variables a construction's formulas may use: those of its
// parents, counted by kind.
class TVariableOnOffCreator
{
public:
    static void done(TFiguretype figureType, const TShapeList &parents,
        TControlCalcSymbolOnOff &switchHolder, bool xOn, bool yOn);
};

// The shape variable names a switch record enables (p1.x, p1.y, c1.cx …),
// by kind and number, for dialogs that list them.
QStringList shapeVariableNames(const TCalcSymbolOnOff &onOff);

} // namespace zarno
