#pragma once

#include <QString>
#include <memory>

namespace zarno {

class TZahyouProperty;
class TZahyoujikuProperty;
class TWriting;
class TShapeVariable2value;
class TCalcFormulaFacade;

// Asks for the typeset text and size of a label. Without an installed
// dialog a request counts as cancelled.
class TWritingDialogFacade
{
public:
    virtual ~TWritingDialogFacade() = default;
    // Edits text and pt; false when cancelled. An empty text is a cancel too.
    virtual bool editWriting(QString &text, int &pt) = 0;

    static std::unique_ptr<TWritingDialogFacade> install(
        std::unique_ptr<TWritingDialogFacade> dialog);
    // The size offered for a new label: the last one chosen, at first 14 points.
    static bool edit(QString &text, int &pt);
    static int lastPt();
};

// Edits the settings of a coordinate read-out. Without an installed dialog
// a request counts as cancelled.
class TZahyouPropertyDialogFacade
{
public:
    virtual ~TZahyouPropertyDialogFacade() = default;
    virtual bool editZahyouProperty(TZahyouProperty &property) = 0;

    static std::unique_ptr<TZahyouPropertyDialogFacade> install(
        std::unique_ptr<TZahyouPropertyDialogFacade> dialog);
    static bool edit(TZahyouProperty &property);
};

// Edits the settings of the coordinate axes (their scales, grids and the
// linked axis names). Without an installed dialog a request counts as cancelled.
class TZahyoujikuDialogFacade
{
public:
    virtual ~TZahyoujikuDialogFacade() = default;
    virtual bool editZahyoujikuProperty(TZahyoujikuProperty &property) = 0;

    static std::unique_ptr<TZahyoujikuDialogFacade> install(
        std::unique_ptr<TZahyoujikuDialogFacade> dialog);
    static bool edit(TZahyoujikuProperty &property);
};

// The number dialog: edits a label whose text is a number. The value must lie
// strictly between min and max. Without an installed dialog a request counts
// as cancelled and the writing is left as it was.
class TNumberDialogFacade
{
public:
    virtual ~TNumberDialogFacade() = default;
    virtual bool editNumber(double min, double max, TWriting &writing) = 0;

    static std::unique_ptr<TNumberDialogFacade> install(
        std::unique_ptr<TNumberDialogFacade> dialog);
    static bool edit(double min, double max, TWriting &writing);
};

// The value dialog of a value label: its name, formula (through the
// formula dialog, with the variables the facade enables), number form and
// digits. Without an installed dialog a request counts as cancelled. A
// cancel leaves the value as it was.
class TValueDialogFacade
{
public:
    virtual ~TValueDialogFacade() = default;
    virtual bool editValue(TCalcFormulaFacade &facade, TShapeVariable2value &value) = 0;

    static std::unique_ptr<TValueDialogFacade> install(std::unique_ptr<TValueDialogFacade> dialog);
    static bool edit(TCalcFormulaFacade &facade, TShapeVariable2value &value);
};

} // namespace zarno
