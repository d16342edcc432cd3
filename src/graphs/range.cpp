#include "graphs/range.h"

#include "base/fileio.h"
#include "formula/calcformulafacade.h"

#include <cmath>

namespace zarno {

namespace {

// The lines of a number label holding a real formula.
void saveNumberLabel(TAbstractFileWriter &w, const QString &tag, const QString &text)
{
    w.openTag(tag);
    w.writeNumberMode(TNumberMode::nmReal);
    w.newLine();
    w.writeString(QStringLiteral("real"), text);
    w.newLine();
    w.writeInteger(QStringLiteral("pt"), 12);
    w.writeBool(QStringLiteral("view"), true);
    w.newLine();
    w.closeTag(tag);
}

QString loadNumberLabel(TAbstractXmlNode &group)
{
    const TNumberMode mode = group.readEnum<TNumberMode>();
    QString text;
    if (mode == TNumberMode::nmRational || mode == TNumberMode::nmRationalPi) {
        const QString n = group.readString(QStringLiteral("numerator"));
        const QString d = group.readString(QStringLiteral("denominator"));
        text = QStringLiteral("(") + n + QStringLiteral(")/(") + d + QLatin1Char(')');
        if (mode == TNumberMode::nmRationalPi)
            text += QStringLiteral("pi");
    } else {
        text = group.readString(QStringLiteral("real"));
        if (mode == TNumberMode::nmDegree)
            text = QStringLiteral("(") + text + QStringLiteral(")pi/180");
    }
    (void)group.readIntegerOr(QStringLiteral("pt"), 12);
    (void)group.readBoolOr(QStringLiteral("view"), true);
    return text;
}

} // namespace

TRange::TRange()
    : fFacade(TCalcFormulaFacade::createCalcFormulaFacade())
{ }

TRange::~TRange() = default;

double TRange::valueOf(const QString &text) const
{
    fFacade->compileFormula(text);
    return fFacade->calculate();
}

bool TRange::setMinText(const QString &text)
{
    if (!std::isfinite(valueOf(text)))
        return false;
    fMinText = text;
    return true;
}

bool TRange::setMaxText(const QString &text)
{
    if (!std::isfinite(valueOf(text)))
        return false;
    fMaxText = text;
    return true;
}

double TRange::lower() const
{
    if (fMinIsInfinity)
        return -kUnbounded;
    const double v = valueOf(fMinText);
    return std::isfinite(v) ? v : -kUnbounded;
}

double TRange::upper() const
{
    if (fMaxIsInfinity)
        return kUnbounded;
    const double v = valueOf(fMaxText);
    return std::isfinite(v) ? v : kUnbounded;
}

void TRange::saveToFile(TAbstractFileWriter &w) const
{
    w.openTag(QStringLiteral("range"));
    w.writeBool(QStringLiteral("fMinIsInfinity"), fMinIsInfinity);
    w.writeBool(QStringLiteral("fMaxIsInfinity"), fMaxIsInfinity);
    w.newLine();
    saveNumberLabel(w, QStringLiteral("min"), fMinText);
    saveNumberLabel(w, QStringLiteral("max"), fMaxText);
    w.closeTag(QStringLiteral("range"));
}

void TRange::loadFromFile(TAbstractXmlNode &shapeNode)
{
    TAbstractXmlNode &range = shapeNode.getThisTagNode(QStringLiteral("range"));
    fMinIsInfinity = range.readBool(QStringLiteral("fMinIsInfinity"));
    fMaxIsInfinity = range.readBool(QStringLiteral("fMaxIsInfinity"));
    fMinText = loadNumberLabel(range.getThisTagNode(QStringLiteral("min")));
    fMaxText = loadNumberLabel(range.getThisTagNode(QStringLiteral("max")));
}

void TRange::assign(const TRange &other)
{
    fMinIsInfinity = other.fMinIsInfinity;
    fMaxIsInfinity = other.fMaxIsInfinity;
    fMinText = other.fMinText;
    fMaxText = other.fMaxText;
}

} // namespace zarno
