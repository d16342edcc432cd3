#pragma once

#include "core/enums.h"
#include "labels/shapewriting.h"
#include "model/shapevalues.h"

#include <QString>
#include <array>
#include <memory>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;
class TCalcFormulaFacade;
class TWriting;

// The settings of a value label: its name, the formula whose value it shows
// and how the number is written.
class TShapeVariable2value
{
public:
    TShapeVariable2value();
    ~TShapeVariable2value();
    TShapeVariable2value(const TShapeVariable2value &) = delete;
    TShapeVariable2value &operator=(const TShapeVariable2value &) = delete;

    // The name part, typeset text ("A" at first).
    TWriting &name() { return *fName; }
    const TWriting &name() const { return *fName; }

    QString valueStr = QStringLiteral("0");
    TZahyouScaletype scaletype = TZahyouScaletype::zstDouble;
    int ketasuuBelowPoint = 1;

    // The typeset text of the label for a value: {name} then the number,
    // without the braces when the name is blank.
    QString text(double value) const;
    QString formattedValue(double x) const;

    // Up to three saved states for the dialog; the name goes with them.
    void pushCurrent();
    void pop();
    void clearPushed();

    void save(TAbstractFileWriter &writer) const;
    void load(TAbstractXmlNode &node);

private:
    struct Saved
    {
        QString valueStr;
        TZahyouScaletype scaletype;
        int ketasuuBelowPoint;
    };
    std::unique_ptr<TWriting> fName;
    std::array<Saved, 3> fSaved;
    int fSavedCount = 0;
};

// A value label (FIG_shapeVariable2value): the value of a formula over the
// attributes of its parents, shown beside the first point, which is also p1.
class TParentShapeVariable2value : public TParentDot2Writing
{
public:
    TParentShapeVariable2value(const TRelationClass &cls, TFiguretype figureType);
    ~TParentShapeVariable2value() override;

    TShapeVariable2value &value() { return *fValue; }
    TCalcFormulaFacade &facade() { return *fFacade; }
    const TShapeValueSetterList &valueSetters() const { return fSetters; }
    // Takes over the facade the dialog worked with and the settings.
    void setFacadeAndValue(
        std::unique_ptr<TCalcFormulaFacade> facade, std::unique_ptr<TShapeVariable2value> value);
    // Compiles the formula against the parents' variables.
    void prepare();

    // The value now; NaN while the formula has none.
    double currentValue();
    bool calcChildren(TAbstractImageAdapter *surface) override;
    // The value dialog; the label changes only when it is confirmed.
    void setupProperty() override;
    void saveToFile(TAbstractFileWriter &writer) const override;
    void loadFromFile(TAbstractXmlNode &figureNode) override;

private:
    std::unique_ptr<TCalcFormulaFacade> fFacade;
    std::unique_ptr<TShapeVariable2value> fValue;
    TShapeValueSetterList fSetters;
};

// Descriptor of TParentShapeVariable2value: an anchor point and one to four
// shapes whose attributes the formula uses make a value label.
class TParentShapeVariable2valueClass : public TWritingRelationClass<TParentShapeVariable2value>
{
public:
    QString className() const override { return QStringLiteral("TParentShapeVariable2value"); }
    TFiguretypeSet supportedFigureTypes() const override
    {
        return { TFiguretype::FIG_shapeVariable2value };
    }
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // A value label with the given formula, without asking.
    std::unique_ptr<TShapeWriting> createWithFormula(const TShapeList &parents,
        const QString &valueStr, TZahyouScaletype scaletype = TZahyouScaletype::zstDouble,
        int digits = 1) const;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;

private:
    std::unique_ptr<TShapeWriting> build(const TShapeList &parents,
        std::unique_ptr<TCalcFormulaFacade> facade,
        std::unique_ptr<TShapeVariable2value> value) const;
};

} // namespace zarno
