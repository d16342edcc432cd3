// The raster work of filled regions: our scanline fill, the region of a
// mask as row runs, the coverage blocks, and filling a region with a brush.
#include "core/exceptions.h"
#include "platform/bitmap.h"
#include "platform/regionmask.h"

#include <QImage>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

constexpr TColor kOlive = 32896;

// A 60 × 40 bitmap with a closed black box (10, 10)-(30, 30) and a box with
// a one-pixel gap in its right side at (40, 10)-(55, 30).
class MaskTest : public ::testing::Test
{
protected:
    MaskTest()
    {
        TCanvas &c = bmp.canvas();
        c.setPenColor(kColorBlack);
        c.setPenWidth(1);
        c.setBrushStyle(TBrushStyle::bsClear);
        c.rectangle(10, 10, 30, 30);
        const QPoint open[]
            = { { 55, 19 }, { 55, 10 }, { 40, 10 }, { 40, 30 }, { 55, 30 }, { 55, 21 } };
        c.polyline(open, 6);
    }
    int count(TColor colour) const
    {
        int n = 0;
        for (int y = 0; y < bmp.height(); ++y)
            for (int x = 0; x < bmp.width(); ++x)
                n += bmp.pixel(x, y) == colour;
        return n;
    }
    TBitmap bmp { 60, 40 };
};

} // namespace

TEST_F(MaskTest, TheFillStopsAtBlackAndAtTheEdgesAndLeaksThroughAGap)
{
    struct Case
    {
        QPoint seed;
        long long filled; // pixels
        TColor inside; // (20, 20) afterwards
        TColor outside; // (5, 5) afterwards
    };
    const int boxInside = 19 * 19;
    const int total = 60 * 40 - count(kColorBlack);
    const Case cases[] = {
        { { 20, 20 }, boxInside, kOlive, kColorWhite }, // inside the closed box
        { { 10, 20 }, 0, kColorWhite, kColorWhite }, // on its border
        { { -1, 20 }, 0, kColorWhite, kColorWhite }, // outside the bitmap
        { { 60, 0 }, 0, kColorWhite, kColorWhite },
        { { 45, 20 }, total - boxInside, kColorWhite, kOlive }, // the open box leaks
    };
    for (const Case &k : cases) {
        TBitmap fresh(60, 40);
        fresh.canvas().copyRect(QRect(0, 0, 60, 40), bmp, QRect(0, 0, 60, 40));
        SCOPED_TRACE(k.seed.x());
        EXPECT_EQ(scanlineFill(fresh, k.seed.x(), k.seed.y(), kColorBlack, kOlive), k.filled);
        EXPECT_EQ(fresh.pixel(20, 20), k.inside);
        EXPECT_EQ(fresh.pixel(5, 5), k.outside);
    }
}

// A one-pixel diagonal line holds the fill: the fill spreads to the four
// neighbours only, never across a corner.
TEST(ScanlineFill, ADiagonalLineHoldsTheFill)
{
    TBitmap b(20, 20);
    TCanvas &c = b.canvas();
    c.setPenColor(kColorBlack);
    c.setPenWidth(1);
    c.moveTo(0, 0);
    c.lineTo(19, 19);
    EXPECT_EQ(scanlineFill(b, 15, 2, kColorBlack, kOlive), 19 * 20 / 2);
    EXPECT_EQ(b.pixel(2, 15), kColorWhite);
    // Filling again finds nothing new.
    EXPECT_EQ(scanlineFill(b, 15, 2, kColorBlack, kOlive), 0);
}

TEST_F(MaskTest, TheRegionIsTheRowRunsAndTheCoverageItsBlocks)
{
    scanlineFill(bmp, 20, 20, kColorBlack, kOlive);
    // Make the border white again: the mask is the inside of the box.
    TCanvas &c = bmp.canvas();
    c.setPenColor(kColorWhite);
    c.rectangle(10, 10, 30, 30);
    c.setPenColor(kColorBlack);
    const QPoint open[]
        = { { 55, 19 }, { 55, 10 }, { 40, 10 }, { 40, 30 }, { 55, 30 }, { 55, 21 } };
    c.setPenColor(kColorWhite);
    c.polyline(open, 6);
    const TRegion region = TRegion::makeRgnFromBitmap(bmp, kColorWhite);
    ASSERT_EQ(region.rects().size(), 19);
    EXPECT_EQ(region.rects().first(), QRect(11, 11, 19, 1));
    EXPECT_EQ(region.rects().last(), QRect(11, 29, 19, 1));
    EXPECT_EQ(region.area(), 19 * 19);
    // A run reaching the right edge ends at the width.
    TBitmap edge(10, 2);
    edge.canvas().setBrushColor(kColorBlack);
    edge.canvas().setBrushStyle(TBrushStyle::bsSolid);
    edge.canvas().fillRect(QRect(6, 1, 4, 1));
    EXPECT_EQ(TRegion::makeRgnFromBitmap(edge, kColorWhite).rects(),
        QVector<QRect> { QRect(6, 1, 4, 1) });
    EXPECT_TRUE(TRegion::makeRgnFromBitmap(TBitmap(), kColorWhite).isEmpty());

    const TBlockCoverage cover = blockCoverage(bmp, kColorWhite, 8);
    ASSERT_EQ(cover.columns, 8); // ceil(60 / 8)
    ASSERT_EQ(cover.rows, 5);
    const auto cell = [&](int i, int j) { return bool(cover.cells[size_t(j * 8 + i)]); };
    EXPECT_TRUE(cell(1, 1)); // pixels 11..15 of block 8..15
    EXPECT_TRUE(cell(3, 3)); // 24..29
    EXPECT_FALSE(cell(0, 0)); // 0..7: nothing
    EXPECT_FALSE(cell(4, 1)); // 32..39: beyond the box
    EXPECT_FALSE(cell(1, 0));
}

// The brush covers exactly the region's pixels, solid or hatched, also on
// an antialiased canvas whose painter is already open.
TEST(FillRegion, TheBrushCoversTheRegionAndNothingElse)
{
    for (const TBrushStyle style : { TBrushStyle::bsSolid, TBrushStyle::bsBDiagonal }) {
        TBitmap b(40, 40);
        TCanvas &c = b.canvas();
        c.setPenColor(kColorBlack);
        c.setBrushStyle(TBrushStyle::bsClear);
        c.setAntialiasing(true);
        c.ellipse(30, 30, 38, 38); // opens the painter
        // A triangle of rows: row y runs from 0 to y.
        QVector<QRect> rows;
        for (int y = 0; y < 20; ++y)
            rows << QRect(0, y, y + 1, 1);
        c.setBrushColor(kOlive);
        c.setBrushStyle(style);
        c.fillRegion(rows);
        int inside = 0, outside = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 30; ++x)
                (x <= y && y < 20 ? inside : outside) += b.pixel(x, y) == kOlive;
        SCOPED_TRACE(int(style));
        EXPECT_EQ(outside, 0);
        if (style == TBrushStyle::bsSolid)
            EXPECT_EQ(inside, 20 * 21 / 2);
        else
            EXPECT_GT(inside, 10);
    }
}

// A hatched region shows the hatch of every other hatched shape: the same
// pixels as a hatched rectangle, for each style.
TEST(FillRegion, AHatchedRegionHasTheHatchOfAFilledRectangle)
{
    for (const TBrushStyle style :
        { TBrushStyle::bsHorizontal, TBrushStyle::bsVertical, TBrushStyle::bsFDiagonal,
            TBrushStyle::bsBDiagonal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross }) {
        TBitmap region(37, 29), rect(37, 29);
        for (TBitmap *b : { &region, &rect }) {
            b->canvas().setBrushColor(kOlive);
            b->canvas().setBrushStyle(style);
        }
        QVector<QRect> rows;
        for (int y = 3; y < 25; ++y)
            rows << QRect(5, y, 30, 1);
        region.canvas().fillRegion(rows);
        rect.canvas().fillRect(QRect(5, 3, 30, 22));
        SCOPED_TRACE(int(style));
        EXPECT_EQ(region.toImage(), rect.toImage());
    }
}

// Filling through a clip (what surfaces without their own region fill do),
// again and again on one open painter: each clip holds, also after the
// previous one was cleared.
TEST(FillRegion, EveryClippedFillKeepsToItsClip)
{
    TBitmap b(40, 40);
    TCanvas &c = b.canvas();
    QVector<QRect> rows;
    for (int y = 0; y < 20; ++y)
        rows << QRect(0, y, y + 1, 1);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE(round);
        c.setBrushStyle(TBrushStyle::bsClear);
        c.ellipse(30, 30, 38, 38);
        c.setBrushColor(kOlive);
        c.setBrushStyle(TBrushStyle::bsSolid);
        c.TCanvas::fillRegion(rows);
        EXPECT_EQ(b.pixel(2, 15), kOlive);
        EXPECT_EQ(b.pixel(15, 2), kColorWhite);
        c.setBrushColor(kColorWhite);
        c.fillRect(QRect(0, 0, 40, 40));
    }
}
