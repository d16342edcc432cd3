// The screen surface drawing model coordinates: pen-brush handling, the
// failures it names, point buffers, arrow heads and bitmap copies.
#include "base/penbrush.h"
#include "core/exceptions.h"
#include "model/field.h"
#include "model/geometry/mathen.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render/functionpolyline.h"
#include "render_shapes.h"
#include "support/expect_souteigai.h"

#include <QSet>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace zarno;
using zarno::test::expectSouteigai;

namespace {

class SurfaceTest : public ::testing::Test
{
protected:
    test::ScreenDpi dpi;
    TField field; // the scale: 20 mm per unit, centre (0, 0)
    TFixedDrawingBox box { QSize(400, 300) };
    TDisplayAdapter screen;
    TPenBrush pb;

    void SetUp() override
    {
        screen.attachMainWindow(&box);
        screen.setController(&field);
        screen.prepareDraw();
        screen.fitToView();
        TPenBrush::States all;
        all.fill(TPenBrushState::pbSelect);
        pb.setStates(all);
        pb.setBrushStyle(TBrushStyle::bsClear);
    }

    const TBitmap &bmp() const { return screen.getBitmap(); }
    int inkCount(QRect r = QRect(0, 0, 400, 300)) const
    {
        r &= QRect(0, 0, bmp().width(), bmp().height());
        int n = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += bmp().pixel(x, y) != kColorWhite ? 1 : 0;
        return n;
    }
    QRect inkBounds() const
    {
        QRect b;
        for (int y = 0; y < bmp().height(); ++y)
            for (int x = 0; x < bmp().width(); ++x)
                if (bmp().pixel(x, y) != kColorWhite)
                    b |= QRect(x, y, 1, 1);
        return b;
    }
};

} // namespace

TEST_F(SurfaceTest, FitsTheDrawingBoxAndFlushesToIt)
{
    EXPECT_EQ(screen.getViewrect(), QRect(0, 0, 400, 300));
    EXPECT_EQ(bmp().width(), 400);
    EXPECT_EQ(screen.transformer().getViewRect(), QRect(0, 0, 400, 300));
    EXPECT_EQ(TDpi::current(), (TModelPoint { 90.06, 90.07 }));
    screen.flush();
    EXPECT_EQ(box.shown(), &bmp());

    box.setClientSize(QSize(0, 50));
    expectSouteigai([&] { screen.fitToView(); }, QStringLiteral("setViewRect"),
        QStringLiteral("viewのcanvasの左上と右下の座標が一致しています。"));
    TDisplayAdapter detached;
    EXPECT_THROW(detached.getViewrect(), ESouteigai);
    TImageAdapter &plain = detached;
    EXPECT_THROW(plain.paramCopyTo_s(QRect(), nullptr, 1, 1), ESouteigai);
}

TEST_F(SurfaceTest, ParametersCopyToAnotherSurface)
{
    struct Receiver : TDisplayAdapter
    {
        QRect view;
        TScaleController *controller = nullptr;
        QSize size;
        void paramCopyTo_s(const QRect &v, TScaleController *c, int w, int h) override
        {
            view = v;
            controller = c;
            size = QSize(w, h);
        }
    } other;
    screen.paramCopyTo(other);
    EXPECT_EQ(other.view, QRect(0, 0, 400, 300));
    EXPECT_EQ(other.controller, &field);
    EXPECT_EQ(other.size, QSize(400, 300));
}

TEST_F(SurfaceTest, DegenerateGeometryDrawsNothing)
{
    const double px = 1 / screen.transformer().pixelsPerModelX();
    screen.drawSegment(pb, 0, 0, 0.2 * px, -0.2 * px); // both ends on one pixel
    screen.drawCircle(pb, 0, 0, 1e-6);
    screen.drawCircle(pb, 0, 0, 20000);
    screen.drawCircle(pb, 0, 0, -1e-6); // zero within the tolerance wins over negative
    screen.drawEllipse(pb, 0, 0, 1e-6, 2);
    screen.drawEllipse(pb, 0, 0, 2, 1e-6); // flat in y: no line across
    screen.drawEllipse(pb, 0, 0, 20000, 1);
    screen.drawArc(pb, 0, 0, 20000, 1, 0, 0, 1);
    screen.drawRectangle(pb, 1, 1, 1, 1);
    const double none[] = { 1, 2 };
    screen.drawPolyline(pb, { 0, 0 }, 0, none, none);
    screen.drawArrowHead(pb, 0, 0, 0, 0); // no direction, no head
    EXPECT_EQ(inkCount(), 0);
}

TEST_F(SurfaceTest, NamedFailures)
{
    const QString radius = QStringLiteral("円の半径は正でなければなりません。");
    expectSouteigai([&] { screen.drawCircle(pb, 0, 0, -1); }, QStringLiteral("circle"), radius);
    expectSouteigai(
        [&] { screen.drawArc(pb, 0, 0, -1, 1, 0, 0, 1); }, QStringLiteral("arc"), radius);
    expectSouteigai([&] { screen.drawEllipse(pb, 0, 0, 2, -1); }, QStringLiteral("ellipse"),
        QStringLiteral("楕円の長軸,短軸の長さは正でなければなりません。"));
    // An invisible pen skips the arc before the radius is looked at.
    pb.setPenStyle(TPenStyle::psClear);
    EXPECT_NO_THROW(screen.drawArc(pb, 0, 0, -1, 1, 0, 0, 1));
    pb.setPenStyle(TPenStyle::psSolid);

    std::vector<double> xs { 0, 1, 2, 3, 4, std::nan(""), 6 }, ys(7, 0.5);
    expectSouteigai(
        [&] {
            screen.drawPolyline(pb, { 0, 0 }, 6, xs.data(), ys.data());
        },
        QStringLiteral("s_modelPointArray2pAry"), QStringLiteral("NaNが渡されました。array[5]"));
    EXPECT_EQ(inkCount(), 0); // nothing drawn before the NaN was found
    expectSouteigai([&] { screen.drawSegment(pb, 0, 0, std::nan(""), 1); },
        QStringLiteral("modelToPixelX"), QStringLiteral("NaNが渡されました。"));
}

TEST_F(SurfaceTest, CircleOutlineIsNeverFilled)
{
    pb.setBrushStyle(TBrushStyle::bsSolid);
    pb.setBrushColor(kColorRed);
    screen.drawCircle(pb, 0, 0, 1);
    const QPoint c = screen.modelToPixel({ 0, 0 });
    const QPoint edge = screen.modelToPixel({ 1, 0 });
    EXPECT_EQ(bmp().pixel(c.x(), c.y()), kColorWhite);
    EXPECT_EQ(bmp().pixel(edge.x(), edge.y()), kColorBlack);
    // The shape's own pen-brush is untouched.
    EXPECT_EQ(pb.getBrushStyle(), TBrushStyle::bsSolid);
}

TEST_F(SurfaceTest, ArcFromOneZeroToZeroOneCoversTheFirstQuadrantOnly)
{
    screen.drawArc(pb, 0, 0, 1, 1, 0, 0, 1);
    const QPoint c = screen.modelToPixel({ 0, 0 });
    const QRect ink = inkBounds();
    EXPECT_GE(ink.left(), c.x());
    EXPECT_LE(ink.bottom(), c.y());
    EXPECT_EQ(ink.right(), screen.modelToPixel({ 1, 0 }).x());
    EXPECT_EQ(ink.top(), screen.modelToPixel({ 0, 1 }).y());

    // The other way round: the three other quadrants.
    screen.clear();
    screen.drawArc(pb, 0, 0, 1, 0, 1, 1, 0);
    EXPECT_EQ(inkCount(QRect(c.x() + 2, 0, 400, c.y() - 2)), 0);
    EXPECT_GT(inkCount(QRect(0, c.y() + 2, c.x() - 2, 300)), 30);
}

TEST_F(SurfaceTest, ThreePixelDashedLineShowsGaps)
{
    pb.setPenWidthIndex(2); // 3 pixels on screen
    pb.setPenStyle(TPenStyle::psDash);
    screen.drawSegment(pb, -2, 0, 2, 0);
    const int y = screen.transformer().modelToPixelY(0);
    const int x1 = screen.modelToPixel({ -2, 0 }).x(), x2 = screen.modelToPixel({ 2, 0 }).x();
    int inked = 0, gaps = 0;
    for (int x = x1; x <= x2; ++x)
        (bmp().pixel(x, y) != kColorWhite ? inked : gaps)++;
    EXPECT_GT(inked, 100);
    EXPECT_GT(gaps, 50);
    EXPECT_NE(bmp().pixel(x1 + 2, y - 1), kColorWhite); // full width inside a dash
    EXPECT_NE(bmp().pixel(x1 + 2, y + 1), kColorWhite);
    EXPECT_EQ(bmp().pixel(x1 + 2, y + 2), kColorWhite);
    // The geometric pen is released after the segment.
    pb.setPenWidthIndex(0);
    pb.setPenStyle(TPenStyle::psSolid);
    screen.clear();
    screen.drawSegment(pb, -2, 1, 2, 1);
    EXPECT_EQ(inkCount(), x2 - x1 + 1);
}

TEST_F(SurfaceTest, ArrowHeadAt300DpiIsAbout45PixelsLong)
{
    TDpi::setCurrent(300, 300);
    box.setClientSize(QSize(200, 200));
    screen.fitToView();
    screen.clear();
    pb.setBrushStyle(TBrushStyle::bsSolid);
    pb.setPenStyle(TPenStyle::psDash); // the head is outlined solid anyway
    screen.drawArrowHead(pb, 0, 0, 1, 0);
    const QPoint tip = screen.modelToPixel({ 0, 0 });
    const QRect ink = inkBounds();
    // Wings 17° off the shaft at 45 pixels: 45·cos 17° back, 45·sin 17° aside.
    EXPECT_EQ(ink.right(), tip.x());
    EXPECT_NEAR(tip.x() - ink.left(), 45 * std::cos(17 * M_PI / 180), 1.5);
    EXPECT_NEAR(ink.height(), 2 * 45 * std::sin(17 * M_PI / 180) + 1, 2);
    EXPECT_NEAR(ink.center().y(), tip.y(), 1);
    // The notch is 0.7 of the length behind the tip: the middle of the back is open.
    EXPECT_EQ(bmp().pixel(tip.x() - 40, tip.y()), kColorWhite);
    EXPECT_EQ(bmp().pixel(tip.x() - 20, tip.y()), kColorBlack);
    // Pointing up on screen for a model direction (0, 1).
    screen.clear();
    screen.drawArrowHead(pb, 0, 0, 0, 1);
    EXPECT_EQ(inkBounds().top(), tip.y());
    EXPECT_NEAR(inkBounds().bottom() - tip.y(), 43, 1.5);
}

TEST_F(SurfaceTest, LongPolylineDrawsCompletelyAndAShortOneDrawsOnlyItself)
{
    // 30000 points on a zigzag that ends in the bottom right corner.
    const int n = 30000;
    std::vector<double> xs(n), ys(n);
    const TModelViewRect v = screen.getModelViewRect();
    for (int i = 0; i < n; ++i) {
        xs[std::size_t(i)] = v.left + (v.right - v.left) * 0.9 * i / (n - 1);
        ys[std::size_t(i)] = (i % 2 ? 0.5 : -0.5);
    }
    xs[n - 1] = v.left + (v.right - v.left) * 0.95;
    ys[n - 1] = v.bottom + 0.2;
    screen.drawPolyline(pb, { 0, 0 }, n - 1, xs.data(), ys.data());
    const QPoint last = screen.modelToPixel({ xs[n - 1], ys[n - 1] });
    EXPECT_EQ(bmp().pixel(last.x(), last.y()), kColorBlack);

    screen.clear();
    std::vector<double> sx { 0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9 };
    std::vector<double> sy(10, 1.0);
    screen.drawPolyline(pb, { 0, 0 }, 9, sx.data(), sy.data());
    const QRect own(screen.modelToPixel({ 0, 1 }), screen.modelToPixel({ 0.9, 1 }));
    EXPECT_EQ(inkBounds(), own.normalized());

    // Offsets move every point; the same buffer serves polygons.
    screen.clear();
    pb.setBrushStyle(TBrushStyle::bsSolid);
    pb.setBrushColor(kColorRed);
    const double tx[] = { 0, 1, 1, 0 }, ty[] = { 0, 0, 1, 1 };
    screen.drawPolygon(pb, { -2, -2 }, 3, tx, ty);
    const QPoint inside = screen.modelToPixel({ -1.5, -1.5 });
    EXPECT_EQ(bmp().pixel(inside.x(), inside.y()), kColorRed);
    EXPECT_EQ(inkBounds(), QRect(screen.modelToPixel({ -2, -1 }), screen.modelToPixel({ -1, -2 })));
}

TEST_F(SurfaceTest, DotsUseTheWidePenWidths)
{
    pb.setBrushStyle(TBrushStyle::bsSolid);
    screen.drawDot(pb, 0, 0); // width index 0, wide: 2 pixels → a disc of radius 2 plus the pen
    const QRect small = inkBounds();
    screen.clear();
    pb.setPenWidthIndex(3); // wide: 5 pixels
    screen.drawDot(pb, 0, 0);
    const QRect big = inkBounds();
    EXPECT_GT(big.width(), small.width() + 4);
    EXPECT_EQ(big.center(), small.center());
    EXPECT_EQ(screen.getCanvas().penWidth(), 5); // the dot restores the pen width
}

TEST_F(SurfaceTest, BitmapsAreAndedOntoTheSurface)
{
    // A white bitmap with a black cross, put over a black band.
    TBitmap cross(21, 21);
    TCanvas &cc = cross.canvas();
    cc.moveTo(0, 10);
    cc.lineTo(20, 10);
    cc.moveTo(10, 0);
    cc.lineTo(10, 20);
    pb.setPenWidthIndex(3);
    screen.drawSegment(pb, -3, 0, 3, 0);
    const QPoint o = screen.modelToPixel({ 0, 0 });
    screen.drawBitmapOffsetPx(cross, { 0, 0 }, QPoint(-10, -10)); // pixel offsets point down
    EXPECT_EQ(bmp().pixel(o.x() - 5, o.y()), kColorBlack); // white over black stays black
    EXPECT_EQ(bmp().pixel(o.x(), o.y() - 8), kColorBlack); // black over white
    EXPECT_EQ(bmp().pixel(o.x() - 5, o.y() - 8), kColorWhite); // white over white
    EXPECT_EQ(screen.getCanvas().copyMode(), TCopyMode::cmSrcCopy);

    // A real-valued offset moves by fractions of a pixel, rounded at the end.
    screen.clear();
    screen.drawBitmapOffsetPxReal(cross, { 0, 0 }, TModelPoint { -10.4, -10.4 });
    EXPECT_EQ(bmp().pixel(o.x(), o.y()), kColorBlack);

    // A view-sized window around a point of a larger picture.
    TBitmap big(800, 600);
    big.canvas().moveTo(400, 0);
    big.canvas().lineTo(400, 599);
    screen.clear();
    screen.copyWindowFrom(big, 450, 300);
    EXPECT_EQ(bmp().pixel(150, 100), kColorBlack); // 400 − (450 − 200)
    EXPECT_EQ(bmp().pixel(200, 100), kColorWhite);
    screen.clear();
    screen.copyFromBitmap(big); // scaled to the view: x 400 of 800 → 200 of 400
    EXPECT_EQ(bmp().pixel(200, 150), kColorBlack);
}

TEST_F(SurfaceTest, FarEndsKeepTheDirectionOfASegment)
{
    // Zoomed in 16 times, the end of this segment lies 11000 pixels away.
    // Clamping its x alone to 10001 would tilt the visible part by 6 pixels
    // at the right edge of the view; cutting the segment keeps it on the line.
    field.modelScale().setScale({ 320, 320 });
    screen.drawSegment(pb, 0, 0, 10, 2);
    const TUnitTransformer &t = screen.transformer();
    for (int x : { 250, 320, 399 }) {
        const int expected = t.modelToPixelY(0.2 * t.pixelToModelX(x));
        int found = -1;
        for (int y = 0; y < 300; ++y)
            if (bmp().pixel(x, y) != kColorWhite)
                found = y;
        EXPECT_NEAR(found, expected, 1) << x;
    }
}

TEST_F(SurfaceTest, HugeCirclesKeepTheirCurvature)
{
    // The circle through three nearly collinear points has a radius of about
    // 16000 pixels; its pixel box would be clamped to ±10001. Drawn from
    // points on the curve it still passes through all three.
    const TMathZahyo p1(-2.5, 0), p2(0, 0.02), p3(2.5, 0);
    TMathEn c;
    ASSERT_TRUE(c.setCircumcircle(p1, p2, p3));
    ASSERT_GT(c.radius * screen.transformer().pixelsPerModelX(), 10000);
    screen.drawCircle(pb, c.centre.x, c.centre.y, c.radius);
    const auto inkNear = [&](const TMathZahyo &p) {
        const QPoint q = screen.modelToPixel(p.toPoint());
        for (int dy = -1; dy <= 1; ++dy)
            if (bmp().pixel(q.x(), q.y() + dy) != kColorWhite)
                return true;
        return false;
    };
    EXPECT_TRUE(inkNear(p1));
    EXPECT_TRUE(inkNear(p2));
    EXPECT_TRUE(inkNear(p3));
    // An arc of it: only the part from p3 round to p1 through p2.
    screen.clear();
    screen.drawArc(pb, c.centre.x, c.centre.y, c.radius, p3.x, p3.y, p1.x, p1.y);
    EXPECT_TRUE(inkNear(p2));
    const QRect ink = inkBounds();
    EXPECT_NEAR(ink.left(), screen.modelToPixel(p1.toPoint()).x(), 1);
    EXPECT_NEAR(ink.right(), screen.modelToPixel(p3.toPoint()).x(), 1);
}

TEST_F(SurfaceTest, AntialiasingIsAScreenOption)
{
    const auto colours = [&] {
        QSet<TColor> c;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                c.insert(bmp().pixel(x, y));
        return c.size();
    };
    EXPECT_FALSE(screen.antialiasing());
    screen.drawCircle(pb, 0, 0, 1.3);
    EXPECT_EQ(colours(), 2);
    screen.setAntialiasing(true);
    screen.clear();
    screen.drawCircle(pb, 0, 0, 1.3);
    EXPECT_TRUE(screen.antialiasing());
    EXPECT_GT(colours(), 5);
}

TEST_F(SurfaceTest, ModelQueries)
{
    struct Box : TPixelSized
    {
        int pixelWidth() const override { return 142; }
        int pixelHeight() const override { return 71; }
    } box71;
    const TModelViewRect r = screen.textExtentToModel(box71);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_DOUBLE_EQ(r.right, 142 / screen.transformer().pixelsPerModelX());
    EXPECT_DOUBLE_EQ(r.bottom, -71 / screen.transformer().pixelsPerModelY());
    EXPECT_EQ(screen.pointToModel(QPoint(200, 150)), (TModelPoint { 0, 0 }));
    EXPECT_TRUE(screen.isInView(400, 300));
    EXPECT_FALSE(screen.isInView(-1, 0));
    EXPECT_EQ(screen.mmToModel({ 20, 40 }), (TModelPoint { 1, 2 }));
}

TEST(FunctionPolyline, KeepsRangeAndGrows)
{
    TFunctionPolyline p;
    EXPECT_EQ(p.capacity(), 20000);
    try {
        p.last();
        ADD_FAILURE();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("リストが空です。"));
    }
    p.append({ 3, 1 });
    try {
        p.secondLast();
        ADD_FAILURE();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("リストに2つ以上のデータがありません。"));
    }
    p.append({ -2, 5 });
    p.append({ 7, 0 });
    EXPECT_EQ(p.last(), (TModelPoint { 7, 0 }));
    EXPECT_EQ(p.secondLast(), (TModelPoint { -2, 5 }));
    EXPECT_EQ(p.least(), -2);
    EXPECT_EQ(p.greatest(), 7);
    p.resetRange();
    p.append({ 1, 1 });
    EXPECT_EQ(p.least(), 1);
    EXPECT_EQ(p.greatest(), 1);

    p.ensureCapacity(10);
    EXPECT_EQ(p.count(), 0); // always empties
    EXPECT_EQ(p.capacity(), 20000);
    for (int i = 0; i < 25000; ++i)
        p.append({ double(i), 0 });
    EXPECT_EQ(p.count(), 25000);
    EXPECT_EQ(p.xs()[24999], 24999);
}
