#include "render/dpi.h"

#include "core/exceptions.h"
#include "platform/desktop.h"

#include <cmath>
#include <limits>

namespace zarno {

namespace {
struct DpiState
{
    TModelPoint current { 300, 300 };
    TModelPoint screen { 100, 100 };
    double fontScale = 1.0;
};
DpiState &state()
{
    static DpiState s;
    return s;
}
} // namespace

int roundToInt32(double v, const char *method)
{
    const double r = std::nearbyint(v);
    if (!(r >= double(std::numeric_limits<int>::min())
            && r <= double(std::numeric_limits<int>::max())))
        throw ESouteigai(QStringLiteral("TDpi"), { fmtArg(v) },
            QStringLiteral("値(%g)が整数の範囲を超えています。"), QString::fromLatin1(method));
    return int(r);
}

void TDpi::setCurrent(double x, double y)
{
    state().current = { x, y };
}

TModelPoint TDpi::current()
{
    return state().current;
}

void TDpi::setScreen(double x, double y)
{
    state().screen = { x, y };
}

TModelPoint TDpi::screen()
{
    return state().screen;
}

void TDpi::setFontScale(double scale)
{
    state().fontScale = scale;
}

double TDpi::fontScale()
{
    return state().fontScale;
}

void TDpi::useScreenResolution()
{
    setCurrent(kScreenDpiX, kScreenDpiY);
    setScreen(kScreenDpiX, kScreenDpiY);
}

void TDpi::resetToLoadValues()
{
    state() = DpiState {};
}

int TDpi::mmToPixels(double mm)
{
    const TModelPoint c = current();
    return roundToInt32(mm * fontScale() * (c.x + c.y) / 2 / 25.4, "mmToPixels");
}

double TDpi::mmToScreenPixelsF(double mm)
{
    const TModelPoint s = screen();
    return mm * (s.x + s.y) / 2 / 25.4;
}

double TDpi::screenPixelsToMm(double px)
{
    return px / screen().x * 25.4;
}

QPoint TDpi::mmPairToScreenPixels(const TModelPoint &mm)
{
    const TModelPoint s = screen();
    return QPoint(roundToInt32(mm.x * s.x / 25.4, "mmPairToScreenPixels"),
        roundToInt32(-mm.y * s.y / 25.4, "mmPairToScreenPixels"));
}

QPoint TDpi::mmPairToPixels(const TModelPoint &mm)
{
    const TModelPoint c = current();
    return QPoint(roundToInt32(mm.x * c.x / 25.4, "mmPairToPixels"),
        roundToInt32(-mm.y * c.y / 25.4, "mmPairToPixels"));
}

QPoint TDpi::mmPairToPixelsUnflipped(const TModelPoint &mm)
{
    const TModelPoint c = current();
    return QPoint(roundToInt32(mm.x * c.x / 25.4, "mmPairToPixelsUnflipped"),
        roundToInt32(mm.y * c.y / 25.4, "mmPairToPixelsUnflipped"));
}

double TDpi::averageDpi()
{
    const TModelPoint c = current();
    return (c.x + c.y) / 2;
}

double TDpi::applyFontScale(double v)
{
    return v * fontScale();
}

QPoint TDpi::applyFontScalePair(const QPoint &p)
{
    return QPoint(roundToInt32(p.x() * fontScale(), "applyFontScalePair"),
        roundToInt32(p.y() * fontScale(), "applyFontScalePair"));
}

int TDpi::screenSizeAt300Dpi(int screenWidthPx, int screenHeightPx)
{
    const TModelPoint s = screen();
    const double w = std::ceil(screenWidthPx * 300.0 / s.x);
    const double h = std::ceil(screenHeightPx * 300.0 / s.y);
    return roundToInt32(std::max(w, h), "screenSizeAt300Dpi");
}

int TDpi::screenSizeAt300Dpi()
{
    const QSize size = TDesktop::primaryScreenSize();
    return screenSizeAt300Dpi(size.width(), size.height());
}

} // namespace zarno
