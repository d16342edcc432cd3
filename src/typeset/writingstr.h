#pragma once

#include "core/enums.h"
#include "formula/calcformulafacade.h"

#include <QString>
#include <array>
#include <memory>

namespace zarno {

class TAbstractFileWriter;
class TAbstractXmlNode;

// What a text label shows: typeset text typed by the user, or a number in
// one of four modes that becomes typeset text on demand. Dialogs keep up to
// three saved states (backup slots 0..2): store before editing, restore on
// cancel, ask whether the label changed. Operations a kind of label does not
// have raise the unexpected-state error naming themselves.
class TAbstractWritingStr
{
public:
    static constexpr int kBackupSlots = 3;

    virtual ~TAbstractWritingStr() = default;

    virtual void setStr(const QString &text);
    // The typeset text the label draws.
    virtual QString texStr() const = 0;
    virtual void save(TAbstractFileWriter &writer) const = 0;
    virtual void load(TAbstractXmlNode &node) = 0;
    virtual void store(int slot) = 0;
    virtual void restore(int slot) = 0;
    virtual bool differsFrom(int slot) const = 0;
    virtual void setRationalNumber(const QString &numerator, const QString &denominator);
    virtual void setRationalNumberPi(const QString &numerator, const QString &denominator);
    virtual void setRealNumber(const QString &text);
    virtual void setDegreeNumber(const QString &text);
    // The label's number times an integer multiple (axes label their marks
    // with multiples of one step); in radians for degrees.
    virtual double value(int multiple) const;
    // That number as typeset text.
    virtual QString valueTeXStr(int multiple) const;
    // 0 for a number label, 1 for typeset text.
    virtual int kind() const = 0;
    virtual TNumberMode numberMode() const;
    virtual QString numeratorStr() const;
    virtual QString denominatorStr() const;
    virtual QString realStr() const;

protected:
    [[noreturn]] void unsupported(const char *method) const;
    static void checkSlot(int slot, const char *method);
};

// A label of typeset text.
class TWritingTeXStr final : public TAbstractWritingStr
{
public:
    void setStr(const QString &text) override { fText = text; }
    QString texStr() const override { return fText; }
    void save(TAbstractFileWriter &writer) const override;
    void load(TAbstractXmlNode &node) override;
    void store(int slot) override;
    void restore(int slot) override;
    bool differsFrom(int slot) const override;
    int kind() const override { return 1; }

private:
    QString fText = QStringLiteral("x");
    std::array<QString, kBackupSlots> fBackups;
};

// A number label: a fraction, a fraction times π, a real number or an angle
// in degrees, kept as the texts the user typed.
class TWritingCalcStr final : public TAbstractWritingStr
{
public:
    TWritingCalcStr();
    ~TWritingCalcStr() override;

    QString texStr() const override;
    void save(TAbstractFileWriter &writer) const override;
    // A damaged label (a mode without its numbers, numbers that are not
    // numbers, a zero denominator) is a file format error of the node.
    void load(TAbstractXmlNode &node) override;
    void store(int slot) override;
    void restore(int slot) override;
    bool differsFrom(int slot) const override;
    void setRationalNumber(const QString &numerator, const QString &denominator) override;
    void setRationalNumberPi(const QString &numerator, const QString &denominator) override;
    void setRealNumber(const QString &text) override;
    void setDegreeNumber(const QString &text) override;
    double value(int multiple) const override;
    QString valueTeXStr(int multiple) const override;
    int kind() const override { return 0; }
    TNumberMode numberMode() const override { return fState.mode; }
    QString numeratorStr() const override { return fState.numerator; }
    QString denominatorStr() const override { return fState.denominator; }
    QString realStr() const override { return fState.real; }

private:
    struct State
    {
        TNumberMode mode = TNumberMode::nmRational;
        QString numerator = QStringLiteral("1");
        QString denominator = QStringLiteral("1");
        QString real = QStringLiteral("1");
        bool operator==(const State &) const = default;
    };
    // "{" + the typeset text of the formula + "}^\circ"; the typeset text
    // alone (showing the error) when it is no valid formula.
    QString degreeTeXStr(const QString &formula) const;

    std::unique_ptr<TCalcFormulaFacade> fCalc;
    State fState;
    std::array<State, kBackupSlots> fBackups;
};

// The typeset text of a fraction n/d (times π when withPi) by the label rules.
QString rationalTeXStr(const QString &numerator, const QString &denominator, bool withPi);

} // namespace zarno
