#pragma once

#include "model/relation.h"

#include <memory>

namespace zarno {

class TCalcFormulaFacade;
class TDimensionInfo;
class TRange;
class TVariable;

// Builds a function graph from its parent shapes: the formula that the graph
// shape samples.
class TParentSomething2function : public TParents2Children
{
public:
    using TParents2Children::TParents2Children;
    virtual void setRange(TRange *range) { fRange = range; }
    // Once before a sampling run.
    virtual void prepare() { }
    virtual double valueAt(double s) = 0;
    // t for n values of s; the same as valueAt one by one.
    virtual void valuesAt(const double *s, double *t, qsizetype n);
    // Whether f is a polynomial of degree at most 4, and which.
    virtual const TDimensionInfo &degreeInfo() const = 0;

protected:
    TRange *fRange = nullptr;
};

// Builds the graph of y = f(x) or x = g(y) from a point, its origin, and a formula.
class TParentDot2Function : public TParentSomething2function
{
public:
    TParentDot2Function(const TRelationClass &cls, TFiguretype figureType);
    ~TParentDot2Function() override;

    QString className() const override { return QStringLiteral("TParentDot2Function"); }
    const TRelationClass &relationClass() const override { return fClass; }

    virtual void setFormula(const QString &text);
    const QString &formula() const { return fText; }
    TCalcFormulaFacade &facade() { return *fFacade; }

    double valueAt(double s) override;
    void valuesAt(const double *s, double *t, qsizetype n) override;
    // A formula with an error is no polynomial.
    const TDimensionInfo &degreeInfo() const override;
    bool calcChildren(TAbstractImageAdapter *surface) override;
    void setupProperty() override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

protected:
    const TRelationClass &fClass;
    QString fText;
    std::unique_ptr<TCalcFormulaFacade> fFacade;
    TVariable *fVariable = nullptr;
};

// Descriptor of TParentDot2Function: one point and a formula make a graph.
class TParentDot2FunctionClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentDot2Function"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_function, TFiguretype::FIG_functionY };
    }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// The formula dialog of graphs as the model asks for it: the formula text
// and the domain. The program registers the real dialog; without one every
// request counts as cancelled.
class TFunctionDialogFacade
{
public:
    virtual ~TFunctionDialogFacade() = default;
    // Edits text (for y = f(x) or x = g(y)) and range; false when cancelled.
    virtual bool editFunction(QString &text, TRange &range, bool isY) = 0;
    // The same for y = f(x) whose formula may also use the variables the
    // facade enables (p1.x, c1.r …). Dialogs that cannot list them take the
    // text as for a plain graph.
    virtual bool editFunctionWithVariables(TCalcFormulaFacade &facade, QString &text, TRange &range)
    {
        (void)facade;
        return editFunction(text, range, false);
    }

    static std::unique_ptr<TFunctionDialogFacade> install(
        std::unique_ptr<TFunctionDialogFacade> dialog);
    static bool edit(QString &text, TRange &range, bool isY);
    static bool editWithVariables(TCalcFormulaFacade &facade, QString &text, TRange &range);
};

// Registers the relation classes of function graphs.
void registerGraphRelationClasses(class TShapeFactory &factory);

} // namespace zarno
