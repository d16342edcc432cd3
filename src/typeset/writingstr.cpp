#include "typeset/writingstr.h"

#include "base/fileio.h"
#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "formula/numbertext.h"

#include <cmath>
#include <cstdlib>
#include <numbers>

namespace zarno {

namespace {

const QString kNumberMode = TEnumConverter<TNumberMode>::tagName();
const QString kNumerator = QStringLiteral("numerator");
const QString kDenominator = QStringLiteral("denominator");
const QString kReal = QStringLiteral("real");
const QString kStr = QStringLiteral("str");

bool isRational(TNumberMode mode)
{
    return mode == TNumberMode::nmRational || mode == TNumberMode::nmRationalPi;
}

qint64 gcd64(qint64 a, qint64 b)
{
    a = std::llabs(a);
    b = std::llabs(b);
    while (b != 0) {
        const qint64 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

} // namespace

QString rationalTeXStr(const QString &numerator, const QString &denominator, bool withPi)
{
    const QString pi = QStringLiteral("\\pi");
    const bool whole = denominator == QLatin1String("1");
    const bool one = numerator == QLatin1String("1");
    const QString fraction = QStringLiteral("\\frac{") + numerator + QStringLiteral("}{")
        + denominator + QLatin1Char('}');
    if (!withPi)
        return whole ? numerator : fraction;
    if (whole)
        return one ? pi : numerator + pi;
    return one ? QStringLiteral("\\frac{\\pi}{") + denominator + QLatin1Char('}')
               : fraction + QLatin1Char(' ') + pi;
}

void TAbstractWritingStr::unsupported(const char *method) const
{
    throw ESouteigai(QStringLiteral("TAbstractWritingStr"), QString::fromLatin1(method));
}

void TAbstractWritingStr::checkSlot(int slot, const char *method)
{
    if (slot < 0 || slot >= kBackupSlots)
        throw ESouteigai(QStringLiteral("TAbstractWritingStr"),
            { fmtArg(QStringLiteral("slot")), fmtArg(slot), fmtArg(0), fmtArg(kBackupSlots - 1) },
            QStringLiteral("%sの値(%d)が想定された範囲(%d〜 %d)内にありません。"),
            QString::fromLatin1(method));
}

void TAbstractWritingStr::setStr(const QString &)
{
    unsupported("setStr");
}
void TAbstractWritingStr::setRationalNumber(const QString &, const QString &)
{
    unsupported("setRationalNumber");
}
void TAbstractWritingStr::setRationalNumberPi(const QString &, const QString &)
{
    unsupported("setRationalNumberPi");
}
void TAbstractWritingStr::setRealNumber(const QString &)
{
    unsupported("setRealNumber");
}
void TAbstractWritingStr::setDegreeNumber(const QString &)
{
    unsupported("setDegreeNumber");
}
double TAbstractWritingStr::value(int) const
{
    unsupported("value");
}
QString TAbstractWritingStr::valueTeXStr(int) const
{
    unsupported("valueTeXStr");
}
TNumberMode TAbstractWritingStr::numberMode() const
{
    unsupported("numberMode");
}
QString TAbstractWritingStr::numeratorStr() const
{
    unsupported("numeratorStr");
}
QString TAbstractWritingStr::denominatorStr() const
{
    unsupported("denominatorStr");
}
QString TAbstractWritingStr::realStr() const
{
    unsupported("realStr");
}

void TWritingTeXStr::save(TAbstractFileWriter &writer) const
{
    writer.writeString(kStr, fText);
}

void TWritingTeXStr::load(TAbstractXmlNode &node)
{
    fText = node.readString(kStr);
}

void TWritingTeXStr::store(int slot)
{
    checkSlot(slot, "store");
    fBackups[std::size_t(slot)] = fText;
}

void TWritingTeXStr::restore(int slot)
{
    checkSlot(slot, "restore");
    fText = fBackups[std::size_t(slot)];
}

bool TWritingTeXStr::differsFrom(int slot) const
{
    checkSlot(slot, "differsFrom");
    return fText != fBackups[std::size_t(slot)];
}

TWritingCalcStr::TWritingCalcStr()
    : fCalc(TCalcFormulaFacade::createCalcFormulaFacade())
{ }

TWritingCalcStr::~TWritingCalcStr() = default;

QString TWritingCalcStr::degreeTeXStr(const QString &formula) const
{
    const bool valid = fCalc->analyzeFormula(formula) == 0;
    const QString tex = fCalc->getTeXString();
    return valid ? QLatin1Char('{') + tex + QStringLiteral("}^\\circ") : tex;
}

QString TWritingCalcStr::texStr() const
{
    switch (fState.mode) {
    case TNumberMode::nmRational:
        return rationalTeXStr(fState.numerator, fState.denominator, false);
    case TNumberMode::nmRationalPi:
        return rationalTeXStr(fState.numerator, fState.denominator, true);
    case TNumberMode::nmReal: return fState.real;
    case TNumberMode::nmDegree: return degreeTeXStr(fState.real);
    }
    return QString();
}

void TWritingCalcStr::save(TAbstractFileWriter &writer) const
{
    writer.writeNumberMode(fState.mode);
    writer.newLine();
    if (isRational(fState.mode)) {
        writer.writeString(kNumerator, fState.numerator);
        writer.writeString(kDenominator, fState.denominator);
    } else {
        writer.writeString(kReal, fState.real);
    }
    writer.newLine();
}

void TWritingCalcStr::load(TAbstractXmlNode &node)
{
    State s;
    s.mode = TEnumConverter<TNumberMode>::to_T(node.readString(kNumberMode));
    if (isRational(s.mode)) {
        s.numerator = node.readString(kNumerator);
        s.denominator = node.readString(kDenominator);
        // Labels draw and axes step with these numbers: texts that are not
        // whole numbers, or a denominator below 1, make the label unreadable.
        if (!TCommonProcs::isIntegerString(s.numerator)
            || !TCommonProcs::isIntegerString(s.denominator)
            || TCommonProcs::str2dint(s.denominator) <= 0)
            node.raiseFormatError(s.numerator + QLatin1Char('/') + s.denominator);
    } else {
        s.real = node.readString(kReal);
        double v = 0;
        if (!TNumberText::tryRead(s.real.trimmed(), v))
            node.raiseFormatError(s.real);
    }
    fState = s;
}

void TWritingCalcStr::store(int slot)
{
    checkSlot(slot, "store");
    fBackups[std::size_t(slot)] = fState;
}

void TWritingCalcStr::restore(int slot)
{
    checkSlot(slot, "restore");
    fState = fBackups[std::size_t(slot)];
}

bool TWritingCalcStr::differsFrom(int slot) const
{
    checkSlot(slot, "differsFrom");
    return !(fState == fBackups[std::size_t(slot)]);
}

void TWritingCalcStr::setRationalNumber(const QString &numerator, const QString &denominator)
{
    fState.mode = TNumberMode::nmRational;
    fState.numerator = numerator;
    fState.denominator = denominator;
}

void TWritingCalcStr::setRationalNumberPi(const QString &numerator, const QString &denominator)
{
    fState.mode = TNumberMode::nmRationalPi;
    fState.numerator = numerator;
    fState.denominator = denominator;
}

void TWritingCalcStr::setRealNumber(const QString &text)
{
    fState.mode = TNumberMode::nmReal;
    fState.real = text;
}

void TWritingCalcStr::setDegreeNumber(const QString &text)
{
    fState.mode = TNumberMode::nmDegree;
    fState.real = text;
}

namespace {

// The number of a label text; false for a text that is none (a formula
// typed into the dialog that is not stored yet).
bool readNumber(const QString &text, double &value)
{
    return TNumberText::tryRead(text.trimmed(), value);
}

bool readInteger(const QString &text, qint64 &value)
{
    if (!TCommonProcs::isIntegerString(text))
        return false;
    value = TCommonProcs::str2dint(text);
    return true;
}

} // namespace

double TWritingCalcStr::value(int multiple) const
{
    const double k = multiple;
    double r = 0, n = 0, d = 0;
    switch (fState.mode) {
    case TNumberMode::nmReal: return readNumber(fState.real, r) ? r * k : std::nan("");
    case TNumberMode::nmDegree:
        return readNumber(fState.real, r) ? r * k * std::numbers::pi / 180 : std::nan("");
    case TNumberMode::nmRational:
    case TNumberMode::nmRationalPi: {
        if (!readNumber(fState.numerator, n) || !readNumber(fState.denominator, d))
            return std::nan("");
        const double v = n / d * k;
        return fState.mode == TNumberMode::nmRationalPi ? v * std::numbers::pi : v;
    }
    }
    return std::nan("");
}

QString TWritingCalcStr::valueTeXStr(int multiple) const
{
    double r = 0;
    switch (fState.mode) {
    case TNumberMode::nmReal:
        if (!readNumber(fState.real, r))
            return texStr();
        return TNumberText::formatGeneral15(r * multiple);
    case TNumberMode::nmDegree:
        if (!readNumber(fState.real, r))
            return texStr();
        return degreeTeXStr(TNumberText::formatGeneral15(r * multiple));
    case TNumberMode::nmRational:
    case TNumberMode::nmRationalPi: {
        // 64 bits: a 32-bit numerator times a multiple cannot overflow.
        qint64 n = 0, d = 0;
        if (!readInteger(fState.numerator, n) || !readInteger(fState.denominator, d))
            return texStr();
        n *= std::llabs(multiple);
        // gcd(0, d) is d; both zero leave the texts as they are.
        const qint64 g = gcd64(n, d);
        if (g != 0) {
            n /= g;
            d /= g;
        }
        const QString text = rationalTeXStr(
            QString::number(n), QString::number(d), fState.mode == TNumberMode::nmRationalPi);
        return multiple < 0 ? QLatin1Char('-') + text : text;
    }
    }
    return QString();
}

} // namespace zarno
