// Model scale, DPI registry and the model-to-pixel transform.
#include "core/exceptions.h"
#include "model/modelscale.h"
#include "model/scalecontroller.h"
#include "render/dpi.h"
#include "render/unittransformer.h"
#include "render_shapes.h"
#include "support/expect_souteigai.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

using namespace zarno;
using zarno::test::expectSouteigai;

namespace {

// A controller with a plain model scale.
class ScaleOnly : public TScaleController
{
public:
    TModelScale scale;
    TModelPoint getMmPerModel1() const override { return scale.mmPerModel1(); }
    TModelPoint getCenterXy() const override { return scale.centerXy(); }
    void pushMmPerModel1(const TModelPoint &mm, const TModelPoint &c) override
    {
        scale.pushMmPerModel1(mm, c);
    }
    void popMmPerModel1() override { scale.popMmPerModel1(); }
};

class TransformTest : public ::testing::Test
{
protected:
    test::ScreenDpi dpi;
    ScaleOnly ctl;
    TUnitTransformer t;
    void SetUp() override { t.setController(&ctl); }
};

} // namespace

TEST_F(TransformTest, CreationValuesOn640By480)
{
    EXPECT_EQ(t.getViewRect(), QRect(0, 0, 640, 480));
    const double ppmX = 20 * 90.06 / 25.4;
    EXPECT_DOUBLE_EQ(t.pixelsPerModelX(), ppmX);
    EXPECT_NEAR(t.pixelsPerModelX(), 70.91, 0.005);
    EXPECT_DOUBLE_EQ(t.modelLeft(), -641 / 2.0 / ppmX);
    EXPECT_NEAR(t.modelLeft(), -4.52, 0.005);
    EXPECT_DOUBLE_EQ(t.modelTop(), 481 / 2.0 / t.pixelsPerModelY());
    EXPECT_EQ(t.modelToPixelX(0), 320);
    EXPECT_EQ(t.modelToPixelY(0), 240);
    // The edges of the model rectangle land on the edges of the view.
    EXPECT_EQ(t.modelToPixelX(t.modelLeft()), 0);
    EXPECT_EQ(t.modelToPixelX(t.modelRight()), 640);
    EXPECT_EQ(t.modelToPixelY(t.modelTop()), 0);
    EXPECT_EQ(t.modelToPixelY(t.modelBottom()), 480);
    // One model unit: the effective scale is w·ppmX/(w + 1).
    EXPECT_EQ(t.modelToPixelX(1), 320 + int(std::lround(640 * ppmX / 641)));
    EXPECT_EQ(t.modelToPixelY(1), 240 - int(std::lround(480 * t.pixelsPerModelY() / 481)));
}

TEST_F(TransformTest, PixelsBackToModelAndVectors)
{
    ctl.scale.setCenterXy({ 3, -2 });
    t.setViewRect(QRect(10, 20, 300, 200));
    for (int px : { 10, 77, 160, 310 })
        EXPECT_EQ(t.modelToPixelX(t.pixelToModelX(px)), px);
    for (int py : { 20, 99, 220 })
        EXPECT_EQ(t.modelToPixelY(t.pixelToModelY(py)), py);
    EXPECT_DOUBLE_EQ(t.pixelToModelX(10), t.modelLeft());
    EXPECT_DOUBLE_EQ(t.pixelToModelY(20), t.modelTop());
    const TModelPoint v = t.pixelVectorToModel(QPoint(7, 7));
    EXPECT_DOUBLE_EQ(v.x, 7 / t.pixelsPerModelX());
    EXPECT_DOUBLE_EQ(v.y, -7 / t.pixelsPerModelY());
    EXPECT_DOUBLE_EQ(t.modelPerPixel().x, 1 / t.pixelsPerModelX());
    ctl.scale.setScale({ 10, 40 });
    EXPECT_EQ(t.mmToModel({ 20, 20 }), (TModelPoint { 2, 0.5 }));
    EXPECT_EQ(t.modelToMm({ 2, 0.5 }), (TModelPoint { 20, 20 }));
}

TEST_F(TransformTest, FarCoordinatesClampAndRoundHalfAwayFromZero)
{
    struct Case
    {
        double v;
        int px;
    };
    const Case cases[] = {
        { 1e6, 10001 },
        { -1e6, -10001 },
        { 10000.4, 10001 },
        { 10000, 10000 },
        { -10000, -10000 },
        { 2.5, 3 },
        { -2.5, -3 },
        { 0.5, 1 },
        { -0.5, -1 },
        { 0.49, 0 },
        { std::numeric_limits<double>::infinity(), 10001 },
    };
    for (const Case &c : cases)
        EXPECT_EQ(TUnitTransformer::toPixel(c.v, "test"), c.px) << c.v;
    EXPECT_EQ(t.modelToPixelX(1e9), 10001);
    EXPECT_EQ(t.modelToPixelY(1e9), -10001);
    expectSouteigai([&] { t.modelToPixelX(std::nan("")); }, QStringLiteral("modelToPixelX"),
        QStringLiteral("NaNが渡されました。"));
}

TEST_F(TransformTest, ViewRectangleOfZeroSizeIsRefusedAfterBeingStored)
{
    EXPECT_TRUE(t.isInView(0, 0));
    EXPECT_TRUE(t.isInView(640, 480));
    EXPECT_FALSE(t.isInView(641, 10));
    expectSouteigai([&] { t.setViewRect(5, 6, 5, 100); }, QStringLiteral("setViewRect"),
        QStringLiteral("viewのcanvasの左上と右下の座標が一致しています。"));
    EXPECT_EQ(t.left(), 5);
    EXPECT_EQ(t.bottom(), 100);
    EXPECT_THROW(t.setViewRect(0, 7, 10, 7), ESouteigai);
    TUnitTransformer lonely;
    EXPECT_THROW(lonely.modelLeft(), ESouteigai); // no controller
}

TEST(ModelScale, PushAndPopRules)
{
    TModelScale s;
    const QString greater = QStringLiteral("値は0より大きい実数でなければなりません。");
    expectSouteigai(
        [&] {
            s.pushMmPerModel1({ 0, 5 }, { 0, 0 });
        },
        QStringLiteral("pushMmPerModel1"), greater);
    expectSouteigai(
        [&] {
            s.pushMmPerModel1({ 5, -1 }, { 0, 0 });
        },
        QStringLiteral("pushMmPerModel1"), greater);
    expectSouteigai([&] { s.popMmPerModel1(); }, QStringLiteral("pop"),
        QStringLiteral("mmPerModel1はpushされていません。"));
    s.setCenterXy({ 1, 2 });
    s.pushMmPerModel1({ 3, 4 }, { 5, 6 });
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { 3, 4 }));
    EXPECT_EQ(s.centerXy(), (TModelPoint { 5, 6 }));
    expectSouteigai(
        [&] {
            s.pushMmPerModel1({ 1, 1 }, { 0, 0 });
        },
        QStringLiteral("push"), QStringLiteral("mmPerModel1は既にpushされています。"));
    s.popMmPerModel1();
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { 20, 20 }));
    EXPECT_EQ(s.centerXy(), (TModelPoint { 1, 2 }));
    EXPECT_THROW(s.popMmPerModel1(), ESouteigai);
}

TEST(ModelScale, PushedScaleGuardPopsOnTheWayOut)
{
    ScaleOnly ctl;
    try {
        TPushedScale pushed(ctl, { 1, 1 }, { 9, 9 });
        EXPECT_TRUE(ctl.scale.isPushed());
        throw std::runtime_error("export failed");
    } catch (const std::runtime_error &) { }
    EXPECT_FALSE(ctl.scale.isPushed());
    EXPECT_EQ(ctl.scale.centerXy(), (TModelPoint { 0, 0 }));
}

TEST(ModelScale, TheZoomStopsAtItsLimits)
{
    const auto linked = [](int pos) { return TSliderZoom::pairFor(pos, true, true); };
    // Steps of × 1/4 from 20 mm: the last step stops at the limit exactly.
    TModelScale s;
    TSliderZoom zoom;
    int steps = 0;
    while (zoom.apply(linked(-120), s) && steps < 100) {
        zoom.apply(linked(0), s);
        ++steps;
    }
    EXPECT_LT(steps, 20);
    EXPECT_EQ(s.mmPerModel1(),
        (TModelPoint { TModelScale::kMinMmPerModel1, TModelScale::kMinMmPerModel1 }));
    zoom.apply(linked(0), s);
    EXPECT_FALSE(zoom.apply(linked(-60), s)); // at the limit: nothing changes
    zoom.apply(linked(0), s);
    EXPECT_TRUE(zoom.apply(linked(60), s)); // and back in
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 2 * TModelScale::kMinMmPerModel1);
    zoom.apply(linked(0), s);

    steps = 0;
    while (zoom.apply(linked(120), s) && steps < 100) {
        zoom.apply(linked(0), s);
        ++steps;
    }
    EXPECT_EQ(s.mmPerModel1(),
        (TModelPoint { TModelScale::kMaxMmPerModel1, TModelScale::kMaxMmPerModel1 }));
    zoom.apply(linked(0), s);

    // One axis at its limit, the other still free.
    s.setScale({ TModelScale::kMaxMmPerModel1, 20 });
    EXPECT_TRUE(zoom.apply(linked(60), s));
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { TModelScale::kMaxMmPerModel1, 40 }));
    zoom.apply(linked(0), s);

    // A scale beyond a limit (from a file) is not pulled back, only kept
    // from going further, and may come back into range.
    s.setScale({ 1e-5, 1e-5 });
    EXPECT_FALSE(zoom.apply(linked(-60), s));
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { 1e-5, 1e-5 }));
    zoom.apply(linked(0), s);
    EXPECT_TRUE(zoom.apply(linked(60), s));
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 2e-5);
}

TEST(ModelScale, CommandsAndSliderZoom)
{
    TModelScale s;
    s.setScale({ 20, 35 });
    s.equalizeScale();
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { 20, 20 }));

    TSliderZoom zoom;
    const auto linked = [](int pos) { return TSliderZoom::pairFor(pos, true, true); };
    EXPECT_TRUE(zoom.apply(linked(120), s)); // to the end: × 4
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 80);
    EXPECT_DOUBLE_EQ(s.mmPerModel1().y, 80);
    EXPECT_FALSE(zoom.apply(linked(0), s)); // springs back: unchanged
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 80);
    EXPECT_TRUE(zoom.apply(linked(60), s)); // half way again: × 2
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 160);
    EXPECT_TRUE(zoom.apply(linked(-60), s)); // back through 0 to -60: × 4^(-1)
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 40);
    zoom.apply(linked(0), s);

    // The vertical slider alone: its value is −position / 120, on y only.
    EXPECT_EQ(TSliderZoom::pairFor(-120, false, false), (TModelPoint { 0, 1 }));
    EXPECT_TRUE(zoom.apply(TSliderZoom::pairFor(-120, false, false), s));
    EXPECT_DOUBLE_EQ(s.mmPerModel1().x, 40);
    EXPECT_DOUBLE_EQ(s.mmPerModel1().y, 160);
    EXPECT_EQ(TSliderZoom::pairFor(30, true, false), (TModelPoint { 0.25, 0 }));

    s.moveCentre(1, -2);
    s.moveCentre(1, 1);
    EXPECT_EQ(s.centerXy(), (TModelPoint { 2, -1 }));
    s.clearCentre();
    EXPECT_EQ(s.centerXy(), (TModelPoint { 0, 0 }));
    s.reset();
    EXPECT_EQ(s.mmPerModel1(), (TModelPoint { 20, 20 }));
    EXPECT_TRUE(s.fixField());
}

TEST(Dpi, RoundingIsHalfToEvenWithARangeCheck)
{
    struct Case
    {
        double v;
        int r;
    };
    const Case cases[] = { { 0.5, 0 }, { 1.5, 2 }, { 2.5, 2 }, { 3.5, 4 }, { -0.5, 0 },
        { -1.5, -2 }, { -2.5, -2 }, { 2.4999, 2 }, { 2.5001, 3 }, { 2147483647.0, 2147483647 } };
    for (const Case &c : cases)
        EXPECT_EQ(roundToInt32(c.v, "test"), c.r) << c.v;
    EXPECT_THROW(roundToInt32(2147483648.0, "test"), ESouteigai);
    EXPECT_THROW(roundToInt32(std::nan(""), "test"), ESouteigai);
}

TEST(Dpi, MillimetreConversions)
{
    test::ScreenDpi restore;
    TDpi::setCurrent(300, 300);
    EXPECT_EQ(TDpi::mmToPixels(3.8), 45); // 44.88
    TDpi::setFontScale(2);
    EXPECT_EQ(TDpi::mmToPixels(3.8), 90);
    EXPECT_EQ(TDpi::applyFontScalePair(QPoint(3, -5)), QPoint(6, -10));
    TDpi::setFontScale(1);
    TDpi::setCurrent(254, 127); // 10 and 5 pixels per millimetre
    EXPECT_EQ(TDpi::mmPairToPixels({ 1.26, 1.26 }), QPoint(13, -6));
    EXPECT_EQ(TDpi::mmPairToPixelsUnflipped({ 1.26, 1.26 }), QPoint(13, 6));
    EXPECT_DOUBLE_EQ(TDpi::averageDpi(), 190.5);
    EXPECT_THROW(TDpi::mmToPixels(1e12), ESouteigai);
    EXPECT_THROW(TDpi::mmToPixels(std::nan("")), ESouteigai);

    TDpi::useScreenResolution();
    EXPECT_EQ(TDpi::mmToPixels(3.8), 13); // 13.47 on screen
    EXPECT_DOUBLE_EQ(TDpi::mmToScreenPixelsF(25.4), (90.06 + 90.07) / 2);
    EXPECT_DOUBLE_EQ(TDpi::screenPixelsToMm(90.06), 25.4);
    EXPECT_EQ(TDpi::mmPairToScreenPixels({ 25.4, 25.4 }), QPoint(90, -90));
    // 1920 × 1080 at 300 dpi: ceil(1920 · 300 / 90.06) = 6396.
    EXPECT_EQ(TDpi::screenSizeAt300Dpi(1920, 1080), 6396);
    EXPECT_EQ(TDpi::screenSizeAt300Dpi(1000, 3000), int(std::ceil(3000 * 300 / 90.07)));

    TDpi::resetToLoadValues();
    EXPECT_EQ(TDpi::current(), (TModelPoint { 300, 300 }));
    EXPECT_EQ(TDpi::screen(), (TModelPoint { 100, 100 }));
}
