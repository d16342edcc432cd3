// The raster canvas on a bitmap: pens, brushes, the pixel rules shared by
// our rasterizer and QPainter, copies, clips and text.
#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "platform/rastercanvas.h"

#include <QImage>
#include <QPainter>
#include <QSet>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

constexpr TColor kBlue = 0xFF0000; // blue in the high byte
constexpr TColor kGreen = 0x00FF00;

class CanvasTest : public ::testing::Test
{
protected:
    TBitmap bmp { 120, 80 };
    TCanvas &c = bmp.canvas();

    bool ink(int x, int y) const { return bmp.pixel(x, y) != kColorWhite; }
    int inkCount(QRect r) const
    {
        r &= QRect(0, 0, bmp.width(), bmp.height());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += ink(x, y) ? 1 : 0;
        return n;
    }
    int inkCount() const { return inkCount(QRect(0, 0, bmp.width(), bmp.height())); }
};

} // namespace

TEST_F(CanvasTest, NewBitmapIsWhiteAndColoursKeepRedInTheLowByte)
{
    EXPECT_EQ(inkCount(), 0);
    c.setPenColor(kColorRed);
    c.moveTo(10, 10);
    c.lineTo(20, 10);
    EXPECT_EQ(bmp.pixel(15, 10), kColorRed);
    EXPECT_EQ(qRed(bmp.toImage().pixel(15, 10)), 255);
    EXPECT_EQ(qBlue(bmp.toImage().pixel(15, 10)), 0);
    EXPECT_THROW(bmp.pixel(120, 0), std::exception);
}

TEST_F(CanvasTest, OnePixelLineCoversBothEnds)
{
    c.moveTo(10, 10);
    c.lineTo(30, 20);
    EXPECT_TRUE(ink(10, 10));
    EXPECT_TRUE(ink(30, 20));
    EXPECT_EQ(inkCount(), 21);
}

TEST_F(CanvasTest, RasterizerAndPainterShareOneImage)
{
    // QPainter stays open on the image between calls; our own writes must
    // land in the same pixels, before and after painter work.
    c.setPenWidth(3);
    c.moveTo(5, 40);
    c.lineTo(100, 40); // QPainter
    c.setPenWidth(1);
    c.setPenColor(kBlue);
    c.moveTo(50, 5);
    c.lineTo(50, 75); // our rasterizer, across the wide line
    c.setPenWidth(3);
    c.setPenColor(kGreen);
    c.moveTo(5, 60);
    c.lineTo(100, 60); // QPainter again
    EXPECT_EQ(bmp.pixel(50, 40), kBlue);
    EXPECT_EQ(bmp.pixel(30, 40), kColorBlack);
    EXPECT_EQ(bmp.pixel(50, 60), kGreen);
    const QImage snapshot = bmp.toImage();
    c.setPenWidth(1);
    c.moveTo(0, 0);
    c.lineTo(119, 79);
    EXPECT_EQ(snapshot.pixel(0, 0), qRgb(255, 255, 255)); // the copy does not change
}

TEST_F(CanvasTest, WidePenIsCentredOnTheLine)
{
    c.setPenWidth(3);
    c.moveTo(20, 30);
    c.lineTo(80, 30);
    for (int y : { 29, 30, 31 })
        EXPECT_TRUE(ink(50, y)) << y;
    EXPECT_FALSE(ink(50, 28));
    EXPECT_FALSE(ink(50, 32));
}

TEST_F(CanvasTest, WideSolidPolylineMatchesThePainterStroke)
{
    // Our own lines with round ends against QPainter's stroke with round
    // joins: the two may differ only on pixels at the stroke's edge.
    const QPoint pts[] = { { 10, 60 }, { 40, 10 }, { 70, 60 }, { 110, 20 }, { 100, 70 } };
    c.setPenWidth(7);
    c.polyline(pts, 5);
    QImage reference(120, 80, QImage::Format_RGB32);
    reference.fill(Qt::white);
    {
        QPainter p(&reference);
        p.translate(0.5, 0.5);
        QPen pen(Qt::black, 7);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        p.drawPolyline(pts, 5);
    }
    const auto distance = [&](int x, int y) {
        double best = 1e9;
        for (int i = 1; i < 5; ++i) {
            const QPointF a = pts[i - 1], d = pts[i] - pts[i - 1];
            const double t = std::clamp(
                ((x - a.x()) * d.x() + (y - a.y()) * d.y()) / (d.x() * d.x() + d.y() * d.y()), 0.0,
                1.0);
            best = std::min(best, std::hypot(x - a.x() - t * d.x(), y - a.y() - t * d.y()));
        }
        return best;
    };
    int inked = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            inked += ink(x, y) ? 1 : 0;
            if (ink(x, y) != (reference.pixel(x, y) != qRgb(255, 255, 255))) {
                EXPECT_NEAR(distance(x, y), 3.5, 0.75) << x << "," << y;
            }
        }
    EXPECT_GT(inked, 1500);
}

TEST_F(CanvasTest, WideDashedGeometricPenShowsGaps)
{
    c.setGeometricPen(TPenStyle::psDash, 3, kColorBlack);
    c.moveTo(5, 30);
    c.lineTo(115, 30);
    int inked = 0, gaps = 0;
    for (int x = 5; x <= 115; ++x)
        (ink(x, 30) ? inked : gaps)++;
    EXPECT_GT(inked, 40);
    EXPECT_GT(gaps, 15);
    // Dashes are the full width.
    for (int x = 6; x <= 12; ++x)
        EXPECT_TRUE(ink(x, 29) && ink(x, 31)) << x;
    // The base pen comes back on release.
    EXPECT_EQ(c.penWidth(), 1);
    c.releaseGeometricPen();
    c.moveTo(5, 60);
    c.lineTo(115, 60);
    EXPECT_EQ(inkCount(QRect(0, 55, 120, 10)), 111);
}

TEST_F(CanvasTest, PenStylesTable)
{
    struct Case
    {
        TPenStyle style;
        bool gaps;
        bool visible;
    };
    const Case cases[] = { { TPenStyle::psSolid, false, true }, { TPenStyle::psDash, true, true },
        { TPenStyle::psDot, true, true }, { TPenStyle::psDashDot, true, true },
        { TPenStyle::psDashDotDot, true, true }, { TPenStyle::psClear, false, false } };
    for (const Case &k : cases) {
        for (int width : { 1, 4 }) {
            TBitmap b(120, 20);
            TCanvas &bc = b.canvas();
            bc.setPenWidth(width);
            bc.setPenStyle(k.style);
            bc.moveTo(5, 10);
            bc.lineTo(114, 10);
            int inked = 0;
            for (int x = 5; x <= 114; ++x)
                inked += b.pixel(x, 10) != kColorWhite ? 1 : 0;
            SCOPED_TRACE(testing::Message() << int(k.style) << " width " << width);
            EXPECT_EQ(inked > 0, k.visible);
            if (k.visible) {
                EXPECT_EQ(inked < 105, k.gaps) << inked;
            }
        }
    }
}

TEST_F(CanvasTest, FillAndOutlineMeetWithoutGaps)
{
    // Outline by our rasterizer, fill by QPainter: every pixel between the
    // leftmost and rightmost outline pixel of a row is filled.
    c.setBrushColor(kBlue);
    c.setBrushStyle(TBrushStyle::bsSolid);
    c.ellipse(10, 10, 70, 51);
    c.rectangle(80, 10, 110, 40);
    for (int y = 11; y < 51; ++y) {
        int first = -1, last = -1;
        for (int x = 0; x < 75; ++x)
            if (ink(x, y)) {
                if (first < 0)
                    first = x;
                last = x;
            }
        ASSERT_GE(first, 0) << y;
        for (int x = first; x <= last; ++x)
            EXPECT_TRUE(ink(x, y)) << x << "," << y;
    }
    EXPECT_EQ(bmp.pixel(40, 30), kBlue);
    EXPECT_EQ(bmp.pixel(40, 10), kColorBlack);
    EXPECT_EQ(bmp.pixel(95, 25), kBlue);
    EXPECT_EQ(bmp.pixel(80, 25), kColorBlack);
    EXPECT_EQ(bmp.pixel(110, 40), kColorBlack);
    EXPECT_FALSE(ink(111, 25));
}

TEST_F(CanvasTest, HatchBrushLeavesTheBackgroundShowing)
{
    c.setPenStyle(TPenStyle::psClear);
    c.setBrushColor(kColorBlack);
    for (TBrushStyle s :
        { TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
            TBrushStyle::bsBDiagonal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross }) {
        bmp.setSize(1, 1);
        bmp.setSize(40, 40);
        c.setBrushStyle(s);
        c.fillRect(QRect(0, 0, 40, 40));
        const int n = inkCount();
        EXPECT_GT(n, 40) << int(s);
        EXPECT_LT(n, 40 * 40 / 2) << int(s);
    }
    bmp.setSize(1, 1);
    bmp.setSize(40, 40);
    c.setBrushStyle(TBrushStyle::bsClear);
    c.fillRect(QRect(0, 0, 40, 40));
    EXPECT_EQ(inkCount(), 0);
}

TEST_F(CanvasTest, CopiesPlainAndAnd)
{
    // Source: a black square on white. Destination: a black band.
    TBitmap src(20, 20);
    src.canvas().setBrushColor(kColorBlack);
    src.canvas().fillRect(QRect(5, 5, 10, 10));
    c.setBrushColor(kColorBlack);
    c.fillRect(QRect(0, 0, 120, 10));

    c.setCopyMode(TCopyMode::cmSrcAnd);
    c.drawBitmap(50, 0, src);
    EXPECT_EQ(bmp.pixel(52, 2), kColorBlack); // white over black keeps the black
    EXPECT_EQ(bmp.pixel(60, 12), kColorBlack); // black over white
    EXPECT_EQ(bmp.pixel(52, 17), kColorWhite); // white over white

    c.setCopyMode(TCopyMode::cmSrcCopy);
    c.drawBitmap(0, 0, src);
    EXPECT_EQ(bmp.pixel(2, 2), kColorWhite); // plain copy replaces the band
    EXPECT_EQ(bmp.pixel(7, 7), kColorBlack);

    // Scaled copy of the source's black square onto a larger area.
    c.copyRect(QRect(80, 40, 40, 40), src, QRect(0, 0, 20, 20));
    EXPECT_EQ(bmp.pixel(100, 60), kColorBlack);
    EXPECT_EQ(bmp.pixel(82, 42), kColorWhite);
}

TEST_F(CanvasTest, ClipRectanglesLimitEveryKindOfDrawing)
{
    c.setClipRects({ QRect(0, 0, 30, 80), QRect(90, 0, 30, 80) });
    c.moveTo(0, 10);
    c.lineTo(119, 10); // our rasterizer
    c.setPenWidth(3);
    c.moveTo(0, 30);
    c.lineTo(119, 30); // QPainter
    c.setBrushColor(kColorBlack);
    c.fillRect(QRect(0, 50, 120, 10));
    for (int x : { 10, 100 })
        for (int y : { 10, 30, 55 })
            EXPECT_TRUE(ink(x, y)) << x << "," << y;
    EXPECT_EQ(inkCount(QRect(30, 0, 60, 80)), 0);
    c.clearClip();
    c.fillRect(QRect(40, 70, 10, 5));
    EXPECT_TRUE(ink(45, 72));
}

// A clipped 1-pixel line is the unclipped line cut to the clip, pixel for
// pixel: where it enters through the top or bottom edge, the first and last
// rows inside come from the same rounding as the whole line's.
TEST(ClippedLine, IsExactlyTheUnclippedLineCutToTheClip)
{
    const QRect clip(20, 25, 70, 30);
    const auto pixels = [](const TBitmap &b, const QRect &r) {
        QSet<std::pair<int, int>> set;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                if (b.pixel(x, y) != kColorWhite)
                    set.insert({ x, y });
        return set;
    };
    const auto check = [&](int x0, int y0, int x1, int y1) {
        TBitmap whole(160, 120), clipped(160, 120);
        // Both in a larger bitmap, shifted, so the reference line is never cut.
        whole.canvas().moveTo(x0 + 20, y0 + 20);
        whole.canvas().lineTo(x1 + 20, y1 + 20);
        clipped.canvas().setClipRects({ clip.translated(20, 20) });
        clipped.canvas().moveTo(x0 + 20, y0 + 20);
        clipped.canvas().lineTo(x1 + 20, y1 + 20);
        const auto expected = pixels(whole, clip.translated(20, 20));
        const auto got = pixels(clipped, QRect(0, 0, 160, 120));
        return std::pair { expected, got };
    };
    // Through the top or the bottom edge: shallow lines (x major) whose
    // minor coordinate crosses the edge, and steep ones.
    struct Case
    {
        int x0, y0, x1, y1;
    } cases[] = { { 0, 10, 119, 40 }, { 0, 70, 119, 30 }, { 119, 12, 5, 33 }, { 10, 0, 60, 79 },
        { 70, 79, 30, 0 }, { 25, 15, 80, 60 }, { 85, 65, 22, 26 }, { 0, 24, 119, 27 },
        { 0, 56, 119, 52 }, { 40, 18, 47, 62 } };
    for (const Case &c : cases) {
        const auto [expected, got] = check(c.x0, c.y0, c.x1, c.y1);
        EXPECT_FALSE(expected.isEmpty());
        EXPECT_EQ(got, expected) << c.x0 << "," << c.y0 << " - " << c.x1 << "," << c.y1;
    }
    // And lines of every slope with ends around the clip.
    std::uint32_t seed = 12345;
    const auto next = [&](int n) {
        seed = seed * 1664525u + 1013904223u;
        return int((seed >> 8) % std::uint32_t(n));
    };
    for (int i = 0; i < 400; ++i) {
        const int x0 = next(120), y0 = next(80), x1 = next(120), y1 = next(80);
        const auto [expected, got] = check(x0, y0, x1, y1);
        ASSERT_EQ(got, expected) << x0 << "," << y0 << " - " << x1 << "," << y1;
    }
}

TEST_F(CanvasTest, ArcUsesRadialsWithEveryPen)
{
    // A 1-pixel arc (our rasterizer) and a 3-pixel one (QPainter) of the
    // same quarter stay in the same quarter.
    for (int width : { 1, 3 }) {
        bmp.setSize(1, 1);
        bmp.setSize(120, 80);
        c.setPenWidth(width);
        c.arc(20, 10, 80, 70, 100, 40, 50, 0);
        const int total = inkCount();
        EXPECT_GT(total, 30) << width;
        // Upper-right quarter of the box centred at (50, 40), widened by the pen.
        EXPECT_EQ(inkCount(QRect(QPoint(50 - width, 0), QPoint(119, 40 + width))), total) << width;
        EXPECT_GT(inkCount(QRect(QPoint(50 + width, 0), QPoint(119, 40 - width))), 20) << width;
    }
}

TEST_F(CanvasTest, TextIsDrawnInsideItsExtentOnATransparentBackground)
{
    c.setBrushColor(kBlue);
    c.fillRect(QRect(0, 0, 120, 80));
    c.setFont(QStringLiteral("DejaVu Sans"), 20, kColorBlack);
    const QSize extent = c.textExtent(QStringLiteral("Ag"));
    const TTextMetric m = c.textMetric();
    EXPECT_GT(extent.width(), 10);
    EXPECT_EQ(extent.height(), m.height);
    EXPECT_EQ(m.ascent + m.descent, m.height);
    c.textOut(10, 10, QStringLiteral("Ag"));
    int black = 0, outside = 0;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x) {
            const TColor p = bmp.pixel(x, y);
            if (p != kBlue) {
                ++black;
                if (!QRect(10, 10, extent.width(), extent.height())
                         .adjusted(-1, -1, 1, 1)
                         .contains(x, y))
                    ++outside;
            }
        }
    EXPECT_GT(black, 20);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(bmp.pixel(10, 10), kBlue); // the cell's corner keeps its background
}

TEST_F(CanvasTest, AntialiasingIsAnOption)
{
    EXPECT_FALSE(c.antialiasing());
    c.moveTo(10, 10);
    c.lineTo(100, 40);
    QSet<TColor> aliased;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            aliased.insert(bmp.pixel(x, y));
    EXPECT_EQ(aliased.size(), 2);

    bmp.setSize(1, 1);
    bmp.setSize(120, 80);
    c.setAntialiasing(true);
    c.moveTo(10, 10);
    c.lineTo(100, 40);
    QSet<TColor> smooth;
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 120; ++x)
            smooth.insert(bmp.pixel(x, y));
    EXPECT_GT(smooth.size(), 3);
}

TEST_F(CanvasTest, EmptyBitmapIgnoresDrawing)
{
    TBitmap empty;
    TCanvas &e = empty.canvas();
    e.moveTo(0, 0);
    e.lineTo(10, 10);
    e.ellipse(0, 0, 5, 5);
    e.fillRect(QRect(0, 0, 4, 4));
    e.textOut(0, 0, QStringLiteral("x"));
    EXPECT_TRUE(empty.isEmpty());
}

namespace {

// The box around every pixel that is not white.
QRect inkBox(const TBitmap &bmp)
{
    QRect box;
    for (int y = 0; y < bmp.height(); ++y)
        for (int x = 0; x < bmp.width(); ++x)
            if (bmp.pixel(x, y) != kColorWhite)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

// Typeset glyphs: by the font's own character map (0xAD is the cmr10 Omega,
// which text layout would drop as a soft hyphen), on the baseline, stretched
// about the run's origin.
TEST(GlyphText, DrawsByCharacterMapOnTheBaselineAndStretches)
{
    const TQtFontCatalog &fonts = TQtFontCatalog::instance();
    ASSERT_TRUE(fonts.isInstalled(QStringLiteral("cmr10"))) << "run scripts/build-fonts";
    TBitmap bmp(200, 160);
    TGlyphFont font;
    font.family = fonts.familyFor(QStringLiteral("cmr10"));
    font.pixelSize = 40;
    font.color = kBlue;
    // Omega: 0.722 em wide, 0.683 em above the baseline, nothing below.
    bmp.canvas().drawGlyphText(20, 100, QStringLiteral("\u00AD"), font);
    QRect box = inkBox(bmp);
    ASSERT_FALSE(box.isEmpty());
    EXPECT_NEAR(box.left(), 21, 2);
    EXPECT_NEAR(box.right(), 20 + 0.722 * 40, 2);
    EXPECT_NEAR(box.top(), 100 - 0.683 * 40, 2);
    EXPECT_NEAR(box.bottom(), 99, 1);
    bool solid = false;
    for (int x = box.left(); x <= box.right(); ++x)
        solid = solid || bmp.pixel(x, box.bottom()) == kBlue;
    EXPECT_TRUE(solid) << "the feet are drawn in the font colour";

    bmp.setSize(1, 1);
    bmp.setSize(200, 160);
    font.scaleX = 1.5;
    font.scaleY = 2;
    bmp.canvas().drawGlyphText(20, 100, QStringLiteral("\u00AD"), font);
    const QRect stretched = inkBox(bmp);
    EXPECT_NEAR(stretched.height(), 2 * box.height(), 3);
    EXPECT_NEAR(stretched.width(), 1.5 * box.width(), 3);
    EXPECT_NEAR(stretched.bottom(), 99, 1);

    // The Japanese font's text, laid out as text, underlined below the baseline.
    bmp.setSize(1, 1);
    bmp.setSize(200, 160);
    TGlyphFont mincho;
    mincho.family = fonts.familyFor(QStringLiteral("ＭＳ Ｐ明朝"));
    ASSERT_FALSE(mincho.family.isEmpty());
    mincho.pixelSize = 40;
    mincho.characterMapOnly = false;
    mincho.underline = true;
    bmp.canvas().drawGlyphText(20, 100, QStringLiteral("あ"), mincho);
    const QRect kana = inkBox(bmp);
    EXPECT_GT(kana.width(), 25);
    EXPECT_GT(kana.bottom(), 100);
    EXPECT_LT(kana.top(), 75);
}
