#include "labels/zahyouproperty.h"

#include "labels/writing.h"

#include <algorithm>

namespace zarno {

namespace {
// π to the precision the format can show.
constexpr long double kPi = 3.1415926535897932385L;
} // namespace

TZahyouProperty::TZahyouProperty()
    : fName(TWriting::createTextWriting())
{
    fName->setText(QStringLiteral("A"));
}

TZahyouProperty::~TZahyouProperty() = default;

QString TZahyouProperty::formatNumber(TZahyouScaletype scaletype, int digits, double x)
{
    digits = std::clamp(digits, kMinDigits, kMaxDigits);
    long double v = x;
    QString suffix;
    switch (scaletype) {
    case TZahyouScaletype::zstDouble: break;
    case TZahyouScaletype::zstDoublePi:
        v = v / kPi;
        suffix = QStringLiteral("\\pi");
        break;
    case TZahyouScaletype::zstDegree:
    case TZahyouScaletype::zstInvisible:
        v = v / kPi * 180;
        suffix = QStringLiteral("^{\\:\\circ}");
        break;
    }
    return QString::asprintf("%.*f", digits, double(v)) + suffix;
}

QString TZahyouProperty::text(const TModelPoint &point) const
{
    const QString n = fName->text();
    const QString fx = formatNumber(xScaletype, digits, point.x);
    const QString fy = formatNumber(yScaletype, digits, point.y);
    switch (kind) {
    case TZahyouViewtype::zvtX: return n + QLatin1Char(' ') + fx;
    case TZahyouViewtype::zvtY: return n + QLatin1Char(' ') + fy;
    case TZahyouViewtype::zvtBoth: break;
    }
    return n + QLatin1Char('(') + fx + QStringLiteral("\\,,\\;") + fy + QLatin1Char(')');
}

} // namespace zarno
