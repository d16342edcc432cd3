#include "platform/emfcanvas.h"

#include "platform/bitmap.h"
#include "platform/glyphoutline.h"
#include "platform/painterpaths.h"

#include <QImage>
#include <QPainterPath>
#include <QtEndian>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

// libEMF's wine headers define min, max, ERROR and functions named like our
// own operations; they stay in this one file, after everything else.
#include <libEMF/emf.h>
#undef min
#undef max

namespace zarno {

namespace {

constexpr int S = TEmfCanvas::kSub;

POINT pt(int x, int y)
{
    return POINT { LONG(x) * S, LONG(y) * S };
}

std::vector<POINT> pts(const QPoint *points, int count)
{
    std::vector<POINT> p(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        p[size_t(i)] = pt(points[i].x(), points[i].y());
    return p;
}

POINT ptF(double x, double y)
{
    return POINT { LONG(std::lround(x * S)), LONG(std::lround(y * S)) };
}

// Dash patterns as on the bitmap, in pixels for a 1-pixel pen and in pen
// widths for a wide one.
std::vector<DWORD> dashes(TPenStyle style, int width)
{
    std::vector<int> units;
    const bool wide = width > 1;
    switch (style) {
    case TPenStyle::psDash:
        units = wide ? std::vector<int> { 4, 2 } : std::vector<int> { 18, 6 };
        break;
    case TPenStyle::psDot:
        units = wide ? std::vector<int> { 1, 2 } : std::vector<int> { 3, 3 };
        break;
    case TPenStyle::psDashDot:
        units = wide ? std::vector<int> { 4, 2, 1, 2 } : std::vector<int> { 9, 6, 3, 6 };
        break;
    case TPenStyle::psDashDotDot:
        units
            = wide ? std::vector<int> { 4, 2, 1, 2, 1, 2 } : std::vector<int> { 9, 3, 3, 3, 3, 3 };
        break;
    case TPenStyle::psSolid:
    case TPenStyle::psClear: break;
    }
    std::vector<DWORD> result;
    for (int u : units)
        result.push_back(DWORD(u * (wide ? width : 1) * S));
    return result;
}

LONG hatchOf(TBrushStyle style)
{
    switch (style) {
    case TBrushStyle::bsHorizontal: return HS_HORIZONTAL;
    case TBrushStyle::bsVertical: return HS_VERTICAL;
    case TBrushStyle::bsFDiagonal: return HS_FDIAGONAL;
    case TBrushStyle::bsBDiagonal: return HS_BDIAGONAL;
    case TBrushStyle::bsCross: return HS_CROSS;
    case TBrushStyle::bsDiagCross: return HS_DIAGCROSS;
    default: return 0;
    }
}

} // namespace

struct TEmfCanvas::Impl
{
    struct Pen
    {
        TColor color = kColorBlack;
        int width = 1;
        TPenStyle style = TPenStyle::psSolid;
        bool operator==(const Pen &) const = default;
    };

    FILE *file = nullptr;
    HDC dc = 0;
    Pen pen;
    Pen geometricPen;
    bool geometric = false;
    TColor brushColor = kColorWhite;
    TBrushStyle brushStyle = TBrushStyle::bsSolid;
    TCopyMode copyMode = TCopyMode::cmSrcCopy;
    int width = 0;
    int height = 0;

    // What the metafile has selected now.
    HGDIOBJ selectedPen = 0;
    Pen realizedPen;
    bool penRealized = false;
    HGDIOBJ selectedBrush = 0;
    TColor realizedBrushColor = 0;
    TBrushStyle realizedBrushStyle = TBrushStyle::bsClear;
    bool brushRealized = false;

    // Text is measured on a bitmap, exactly as the raster image measures it.
    TBitmap measure { 1, 1 };
    QString fontFamily;
    int fontPixelSize = 12;
    TColor fontColor = kColorBlack;
    HGDIOBJ selectedFont = 0;
    bool fontRealized = false;

    const Pen &activePen() const { return geometric ? geometricPen : pen; }

    void selectPen(const Pen &p)
    {
        if (penRealized && p == realizedPen)
            return;
        HGDIOBJ made;
        if (p.style == TPenStyle::psClear) {
            made = CreatePen(PS_NULL, 0, 0);
        } else {
            LOGBRUSH lb { BS_SOLID, COLORREF(p.color), 0 };
            const int width = std::max(1, p.width) * S;
            if (p.style == TPenStyle::psSolid) {
                const DWORD ends = p.width > 1 ? PS_ENDCAP_ROUND | PS_JOIN_ROUND
                                               : PS_ENDCAP_SQUARE | PS_JOIN_MITER;
                made = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | ends, DWORD(width), &lb, 0, nullptr);
            } else {
                const std::vector<DWORD> pattern = dashes(p.style, p.width);
                made = ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_FLAT | PS_JOIN_ROUND,
                    DWORD(width), &lb, DWORD(pattern.size()), pattern.data());
            }
        }
        HGDIOBJ old = SelectObject(dc, made);
        if (penRealized && old)
            DeleteObject(old);
        selectedPen = made;
        realizedPen = p;
        penRealized = true;
    }

    void selectBrush(TColor color, TBrushStyle style)
    {
        if (brushRealized && realizedBrushColor == color && realizedBrushStyle == style)
            return;
        LOGBRUSH lb { BS_SOLID, COLORREF(color), 0 };
        if (style == TBrushStyle::bsClear)
            lb.lbStyle = BS_NULL;
        else if (style != TBrushStyle::bsSolid) {
            lb.lbStyle = BS_HATCHED;
            lb.lbHatch = hatchOf(style);
        }
        HGDIOBJ made = CreateBrushIndirect(&lb);
        HGDIOBJ old = SelectObject(dc, made);
        if (brushRealized && old)
            DeleteObject(old);
        selectedBrush = made;
        realizedBrushColor = color;
        realizedBrushStyle = style;
        brushRealized = true;
    }

    // Before an outline: the active pen, no fill.
    void forOutline()
    {
        selectPen(activePen());
        selectBrush(brushColor, TBrushStyle::bsClear);
    }
    // Before a filled shape: the active pen and the brush.
    void forShape()
    {
        selectPen(activePen());
        selectBrush(brushColor, brushStyle);
    }

    void bitmap(const QRect &dest, const QImage &source, const QRect &sourceRect)
    {
        if (!dc || source.isNull() || dest.isEmpty() || sourceRect.isEmpty())
            return;
        const QImage part = source.copy(sourceRect).convertToFormat(QImage::Format_RGB32);
        BITMAPINFO info {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = part.width();
        info.bmiHeader.biHeight = -part.height(); // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        StretchDIBits(dc, dest.x() * S, dest.y() * S, dest.width() * S, dest.height() * S, 0, 0,
            part.width(), part.height(), part.constBits(), &info, DIB_RGB_COLORS,
            copyMode == TCopyMode::cmSrcAnd ? SRCAND : SRCCOPY);
    }
};

TEmfCanvas::TEmfCanvas(int width, int height, int frameWidth, int frameHeight)
    : d(std::make_unique<Impl>())
{
    setFontResolution(300);
    d->file = std::tmpfile();
    if (!d->file)
        return;
    const RECT frame { 0, 0, LONG(frameWidth), LONG(frameHeight) };
    d->dc = CreateEnhMetaFileWithFILEW(0, d->file, &frame, nullptr);
    if (!d->dc)
        return;
    // The plain text mapping mode: logical units are device units, a
    // sixteenth of an image pixel. libEMF's own reference device (a screen
    // of about 81 dpi) is replaced in the header when the recording ends.
    d->width = width;
    d->height = height;
    SetMapMode(d->dc, MM_TEXT);
    SetWindowOrgEx(d->dc, 0, 0, nullptr);
    SetBkMode(d->dc, TRANSPARENT);
    SetPolyFillMode(d->dc, ALTERNATE);
    SetTextAlign(d->dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
}

void TEmfCanvas::describeDevice(QByteArray &bytes) const
{
    // The header's reference device becomes one of 300 × kSub dots per inch
    // (device units per millimetre = szlDevice / szlMillimeters, so a device
    // "1000 mm" wide keeps six digits of the ratio), and the bounds, which
    // libEMF cut to its own device, become the image's.
    if (bytes.size() < 88 || qFromLittleEndian<quint32>(bytes.constData()) != 1)
        return;
    const quint32 headerSize = qFromLittleEndian<quint32>(bytes.constData() + 4);
    auto put = [&](int offset, qint32 v) { qToLittleEndian<qint32>(v, bytes.data() + offset); };
    const qint32 device = qint32(std::lround(1000 * 300.0 * S / 25.4));
    put(8, 0);
    put(12, 0);
    put(16, d->width * S - 1);
    put(20, d->height * S - 1);
    put(72, device);
    put(76, device);
    put(80, 1000);
    put(84, 1000);
    if (headerSize >= 108 && bytes.size() >= 108) {
        put(100, 1000000);
        put(104, 1000000);
    }
}

TEmfCanvas::~TEmfCanvas()
{
    finish();
}

QByteArray TEmfCanvas::finish()
{
    QByteArray bytes;
    if (d->dc) {
        HENHMETAFILE metafile = CloseEnhMetaFileWithFILE(d->dc);
        d->dc = 0;
        if (metafile)
            DeleteEnhMetaFile(metafile);
        if (metafile && d->file) {
            std::fflush(d->file);
            std::rewind(d->file);
            char buffer[65536];
            size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, d->file)) > 0)
                bytes.append(buffer, qsizetype(n));
            describeDevice(bytes);
        }
    }
    if (d->file) {
        std::fclose(d->file);
        d->file = nullptr;
    }
    return bytes;
}

void TEmfCanvas::setPenColor(TColor color)
{
    d->geometric = false;
    d->pen.color = color;
}
void TEmfCanvas::setPenWidth(int width)
{
    d->geometric = false;
    d->pen.width = width;
}
void TEmfCanvas::setPenStyle(TPenStyle style)
{
    d->geometric = false;
    d->pen.style = style;
}
void TEmfCanvas::setGeometricPen(TPenStyle style, int width, TColor color)
{
    d->geometricPen = { color, width, style };
    d->geometric = true;
}
void TEmfCanvas::releaseGeometricPen()
{
    d->geometric = false;
}
TColor TEmfCanvas::penColor() const
{
    return d->pen.color;
}
int TEmfCanvas::penWidth() const
{
    return d->pen.width;
}
TPenStyle TEmfCanvas::penStyle() const
{
    return d->pen.style;
}
void TEmfCanvas::setBrushColor(TColor color)
{
    d->brushColor = color;
}
void TEmfCanvas::setBrushStyle(TBrushStyle style)
{
    d->brushStyle = style;
}
TColor TEmfCanvas::brushColor() const
{
    return d->brushColor;
}
TBrushStyle TEmfCanvas::brushStyle() const
{
    return d->brushStyle;
}

void TEmfCanvas::moveTo(int x, int y)
{
    if (d->dc)
        MoveToEx(d->dc, x * S, y * S, nullptr);
}

void TEmfCanvas::lineTo(int x, int y)
{
    if (!d->dc)
        return;
    d->forOutline();
    LineTo(d->dc, x * S, y * S);
}

void TEmfCanvas::polyline(const QPoint *points, int count)
{
    if (!d->dc || count < 2)
        return;
    std::vector<POINT> p = pts(points, count);
    d->forOutline();
    Polyline(d->dc, p.data(), count);
}

void TEmfCanvas::polygon(const QPoint *points, int count)
{
    if (!d->dc || count < 2)
        return;
    std::vector<POINT> p = pts(points, count);
    d->forShape();
    Polygon(d->dc, p.data(), count);
}

// GDI boxes leave out their right and bottom edges; ours run through them.
void TEmfCanvas::ellipse(int x1, int y1, int x2, int y2)
{
    if (!d->dc)
        return;
    d->forShape();
    Ellipse(d->dc, std::min(x1, x2) * S, std::min(y1, y2) * S, (std::max(x1, x2) + 1) * S,
        (std::max(y1, y2) + 1) * S);
}

void TEmfCanvas::arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4)
{
    if (!d->dc)
        return;
    d->forOutline();
    Arc(d->dc, std::min(x1, x2) * S, std::min(y1, y2) * S, (std::max(x1, x2) + 1) * S,
        (std::max(y1, y2) + 1) * S, x3 * S, y3 * S, x4 * S, y4 * S);
}

void TEmfCanvas::rectangle(int x1, int y1, int x2, int y2)
{
    if (!d->dc)
        return;
    d->forShape();
    Rectangle(d->dc, std::min(x1, x2) * S, std::min(y1, y2) * S, (std::max(x1, x2) + 1) * S,
        (std::max(y1, y2) + 1) * S);
}

void TEmfCanvas::fillRect(const QRect &rect)
{
    if (!d->dc || d->brushStyle == TBrushStyle::bsClear || rect.isEmpty())
        return;
    d->selectPen({ kColorBlack, 0, TPenStyle::psClear });
    d->selectBrush(d->brushColor, d->brushStyle);
    Rectangle(
        d->dc, rect.left() * S, rect.top() * S, (rect.right() + 1) * S, (rect.bottom() + 1) * S);
}

void TEmfCanvas::fillRegion(const QVector<QRect> &rects)
{
    if (!d->dc || d->brushStyle == TBrushStyle::bsClear || rects.isEmpty())
        return;
    const QPainterPath outline = regionOutline(rects);
    if (outline.isEmpty())
        return;
    d->selectPen({ kColorBlack, 0, TPenStyle::psClear });
    d->selectBrush(d->brushColor, d->brushStyle);
    // The outline runs along pixel edges, so holes come out with the
    // alternate rule.
    SetPolyFillMode(d->dc, ALTERNATE);
    BeginPath(d->dc);
    bool open = false;
    for (int i = 0; i < outline.elementCount(); ++i) {
        const QPainterPath::Element e = outline.elementAt(i);
        const POINT p = ptF(e.x, e.y);
        if (e.isMoveTo()) {
            if (open)
                CloseFigure(d->dc);
            MoveToEx(d->dc, p.x, p.y, nullptr);
            open = true;
        } else {
            LineTo(d->dc, p.x, p.y);
        }
    }
    if (open)
        CloseFigure(d->dc);
    EndPath(d->dc);
    FillPath(d->dc);
}

void TEmfCanvas::setCopyMode(TCopyMode mode)
{
    d->copyMode = mode;
}
TCopyMode TEmfCanvas::copyMode() const
{
    return d->copyMode;
}

void TEmfCanvas::drawBitmap(int x, int y, const TBitmap &bitmap)
{
    d->bitmap(QRect(x, y, bitmap.width(), bitmap.height()), bitmap.image(),
        QRect(0, 0, bitmap.width(), bitmap.height()));
}

void TEmfCanvas::copyRect(const QRect &dest, const TBitmap &source, const QRect &sourceRect)
{
    d->bitmap(dest, source.image(), sourceRect);
}

void TEmfCanvas::setFont(const QString &family, int pixelSize, TColor color)
{
    d->measure.canvas().setFont(family, pixelSize, color);
    if (family != d->fontFamily || pixelSize != d->fontPixelSize)
        d->fontRealized = false;
    d->fontFamily = family;
    d->fontPixelSize = pixelSize;
    d->fontColor = color;
}

void TEmfCanvas::textOut(int x, int y, const QString &text)
{
    if (!d->dc || text.isEmpty())
        return;
    if (!d->fontRealized) {
        LOGFONTW lf {};
        lf.lfHeight = -LONG(d->fontPixelSize) * S;
        lf.lfWeight = FW_NORMAL;
        lf.lfCharSet = DEFAULT_CHARSET;
        const std::u16string face = d->fontFamily.left(LF_FACESIZE - 1).toStdU16String();
        for (size_t i = 0; i < face.size(); ++i)
            lf.lfFaceName[i] = WCHAR(face[i]);
        HGDIOBJ made = CreateFontIndirectW(&lf);
        HGDIOBJ old = SelectObject(d->dc, made);
        if (d->selectedFont && old)
            DeleteObject(old);
        d->selectedFont = made;
        d->fontRealized = true;
    }
    SetTextColor(d->dc, COLORREF(d->fontColor));
    const std::u16string s = text.toStdU16String();
    std::vector<WCHAR> w(s.begin(), s.end());
    ExtTextOutW(d->dc, x * S, y * S, 0, nullptr, w.data(), UINT(w.size()), nullptr);
}

QSize TEmfCanvas::textExtent(const QString &text)
{
    return d->measure.canvas().textExtent(text);
}
TTextMetric TEmfCanvas::textMetric()
{
    return d->measure.canvas().textMetric();
}
QString TEmfCanvas::fontFamily() const
{
    return d->fontFamily;
}
int TEmfCanvas::fontPixelSize() const
{
    return d->fontPixelSize;
}
TColor TEmfCanvas::fontColor() const
{
    return d->fontColor;
}

void TEmfCanvas::drawGlyphText(
    double x, double baseline, const QString &text, const TGlyphFont &font)
{
    if (!d->dc)
        return;
    const QPainterPath path = glyphRunArea(x, baseline, text, font);
    if (path.isEmpty())
        return;
    // One path of lines and Béziers, filled with the nonzero rule of the
    // fonts' outlines, with no pen.
    d->selectPen({ kColorBlack, 0, TPenStyle::psClear });
    d->selectBrush(font.color, TBrushStyle::bsSolid);
    SetPolyFillMode(d->dc, WINDING);
    BeginPath(d->dc);
    bool open = false;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            if (open)
                CloseFigure(d->dc);
            const POINT p = ptF(e.x, e.y);
            MoveToEx(d->dc, p.x, p.y, nullptr);
            open = true;
        } else if (e.isLineTo()) {
            const POINT p = ptF(e.x, e.y);
            LineTo(d->dc, p.x, p.y);
        } else if (e.type == QPainterPath::CurveToElement && i + 2 < path.elementCount()) {
            const QPainterPath::Element c2 = path.elementAt(i + 1), end = path.elementAt(i + 2);
            const POINT p[3] = { ptF(e.x, e.y), ptF(c2.x, c2.y), ptF(end.x, end.y) };
            PolyBezierTo(d->dc, p, 3);
            i += 2;
        }
    }
    if (open)
        CloseFigure(d->dc);
    EndPath(d->dc);
    FillPath(d->dc);
    SetPolyFillMode(d->dc, ALTERNATE);
}

} // namespace zarno
