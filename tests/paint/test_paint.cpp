// Filled regions as the user makes and sees them: found on the screen's
// raster and on the 300-dpi raster of an export, picked, selected, saved.
#include "graphs/dot2function.h"
#include "graphs/shapefunction.h"
#include "interaction_fixture.h"
#include "paint/shapepaint.h"
#include "persist/zarnofile.h"
#include "platform/bitmap.h"
#include "render/printarea.h"

#include <QImage>

namespace zarno::test {
namespace {

constexpr TColor kGreen = makeColor(0, 160, 0);

class PaintTest : public InteractionTest
{
protected:
    PaintTest()
        : InteractionTest(true)
    {
        registerGraphRelationClasses(factory);
        registerPaintRelationClasses(factory);
    }

    TShape *make(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.createSilently(type, ps);
        TShape *made = built.count() ? built.first() : nullptr;
        field().takeAllFrom(built);
        return made;
    }
    TShapeDot *point(double x, double y)
    {
        auto *d = static_cast<TShapeDot *>(make(TFiguretype::FIG_dotOnField, {}));
        d->setInitialXY({ x, y });
        return d;
    }
    TShape *graph(const QString &formula, TShapeDot *origin)
    {
        auto *g = make(TFiguretype::FIG_function, { origin });
        static_cast<TParentDot2Function *>(g->relation())->setFormula(formula);
        return g;
    }
    // A region with a solid green brush, so that every pixel of it shows.
    TShapePaint *paint(std::initializer_list<TShape *> parents, bool solid = true)
    {
        auto *p = static_cast<TShapePaint *>(make(TFiguretype::FIG_paint, parents));
        if (p && solid) {
            p->penBrush().setBrushStyle(TBrushStyle::bsSolid);
            p->penBrush().setBrushColor(kGreen);
        }
        return p;
    }
    void redraw() { controller->refreshFull(); }
    TColor at(double x, double y)
    {
        const QPoint p = px(x, y);
        return screen.getBitmap().pixel(p.x(), p.y());
    }
    int greenPixels()
    {
        const TBitmap &b = screen.getBitmap();
        int n = 0;
        for (int y = 0; y < b.height(); ++y)
            for (int x = 0; x < b.width(); ++x)
                n += b.pixel(x, y) == kGreen;
        return n;
    }
    // A circle about c through q.
    TShape *circle(TShapeDot *c, TShapeDot *q) { return make(TFiguretype::FIG_circle, { c, q }); }
};

TEST_F(PaintTest, APointInsideACircleFillsTheDiscOnlyAndTheFillFollowsTheCentre)
{
    TShapeDot *c = point(0, 0);
    TShapeDot *q = point(2, 0);
    TShape *en = circle(c, q);
    // The curve chosen first: the point still becomes the first parent.
    TShapePaint *region = paint({ en, point(0.5, 0.5) });
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(region->parents().item(0)->shapeType(), TShapetype::SHAPE_dot);
    redraw();
    for (const TModelPoint p : { TModelPoint { -1.2, -1.2 }, TModelPoint { 1.8, 0 },
             TModelPoint { 0, -1.8 }, TModelPoint { -0.3, 1.5 } })
        EXPECT_EQ(at(p.x, p.y), kGreen) << p.x << "," << p.y;
    for (const TModelPoint p : { TModelPoint { 2.3, 0 }, TModelPoint { -1.6, -1.6 },
             TModelPoint { 0, 2.4 }, TModelPoint { 3, 3 } })
        EXPECT_EQ(at(p.x, p.y), kColorWhite) << p.x << "," << p.y;

    // Centre to (1, 0): the circle of radius 1 about it, the point still in it.
    c->moveXYOffsetXY(1, 0);
    redraw();
    EXPECT_EQ(at(1.8, 0), kGreen);
    EXPECT_EQ(at(0.3, 0.2), kGreen);
    EXPECT_EQ(at(-1.2, -1.2), kColorWhite);
    EXPECT_EQ(at(1, 1.3), kColorWhite);
}

TEST_F(PaintTest, TheRegionBetweenAParabolaAndALine)
{
    TShape *parabola = graph(QStringLiteral("x^2"), point(0, 0));
    TShape *line = make(TFiguretype::FIG_line, { point(-3, 2), point(3, 2) });
    paint({ point(0, 1), parabola, line });
    redraw();
    // Inside: above y = x² and below y = 2.
    for (const TModelPoint p : { TModelPoint { 0, 0.3 }, TModelPoint { 1, 1.6 },
             TModelPoint { -1.2, 1.8 }, TModelPoint { 0.5, 0.6 } })
        EXPECT_EQ(at(p.x, p.y), kGreen) << p.x << "," << p.y;
    for (const TModelPoint p : { TModelPoint { 0, 2.4 }, TModelPoint { 1.6, 1 },
             TModelPoint { -1.6, 1 }, TModelPoint { 0, -0.4 }, TModelPoint { 2, 2.2 } })
        EXPECT_EQ(at(p.x, p.y), kColorWhite) << p.x << "," << p.y;
}

// A seed on a boundary, or outside the view, fills nothing (no flood of the
// whole view) and cannot be picked; a seed outside every closed curve fills
// the view around them.
TEST_F(PaintTest, WhereTheSeedLiesDecidesWhatIsFilled)
{
    TShapeDot *c = point(0, 0);
    TShapeDot *q = point(2, 0);
    TShape *en = circle(c, q);
    TShapePaint *onBoundary = paint({ q, en });
    redraw();
    EXPECT_EQ(greenPixels(), 0);
    EXPECT_EQ(onBoundary->rawDistance({ 0, 0 }, { 0.01, 0.01 }), 100);

    TShapePaint *beyondView = paint({ point(500, 500), en });
    redraw();
    EXPECT_EQ(greenPixels(), 0);
    EXPECT_EQ(beyondView->rawDistance({ 0, 0 }, { 0.01, 0.01 }), 100);

    paint({ point(3, 3), en });
    redraw();
    EXPECT_EQ(at(0.5, 0.3), kColorWhite);
    const TBitmap &b = screen.getBitmap();
    // Out to the corners of the view.
    EXPECT_EQ(b.pixel(0, 0), kGreen);
    EXPECT_EQ(b.pixel(b.width() - 1, b.height() - 1), kGreen);
}

// The boundary has a width in millimetres (2 screen pixels, 7 at 300 dpi):
// a gap of one screen pixel is closed on the screen and in the export, a
// gap of eight screen pixels leaks in both.
TEST_F(PaintTest, AGapLeaksOrNotAlikeOnScreenAndInTheExport)
{
    controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
    auto &area = *static_cast<TShapePrintArea *>(field().printArea());
    area.property().scaleType = TGraphicFileScaletype::gstHAxe1;
    area.property().hAxe1_mm = 12;
    const double mpp = screen.getModelPerPixel().x;
    struct Case
    {
        double gapPixels;
        bool leaks;
    };
    // First a square that must hold, then one beside it that leaks.
    for (const Case k : { Case { 1, false }, Case { 8, true } }) {
        SCOPED_TRACE(k.gapPixels);
        const double g = k.gapPixels * mpp, ox = k.leaks ? 2 : -2;
        // A square of four segments about (ox, 0), its right side cut at its middle.
        TShapeDot *a = point(ox - 1, -1), *b = point(ox + 1, -1), *c = point(ox + 1, 1),
                  *d = point(ox - 1, 1);
        TShapeDot *m1 = point(ox + 1, -g / 2), *m2 = point(ox + 1, g / 2);
        TShape *s1 = make(TFiguretype::FIG_senbun, { a, b });
        TShape *s2 = make(TFiguretype::FIG_senbun, { b, m1 });
        TShape *s3 = make(TFiguretype::FIG_senbun, { m2, c });
        TShape *s4 = make(TFiguretype::FIG_senbun, { c, d });
        TShape *s5 = make(TFiguretype::FIG_senbun, { d, a });
        paint({ point(ox, 0), s1, s2, s3, s4, s5 });
        redraw();
        EXPECT_EQ(at(ox - 0.4, 0.3), kGreen);
        EXPECT_EQ(at(0, 2.5) == kGreen, k.leaks) << "screen";
        controller->executeAction(TCommandId::cmdCopyFigure);
        const QImage image = QImage::fromData(window.clipboardPng, "PNG");
        ASSERT_FALSE(image.isNull());
        const TModelViewRect r = area.modelRect();
        const auto imageAt = [&](double x, double y) {
            return image.pixel(int((x - r.left) / (r.right - r.left) * image.width()),
                int((r.top - y) / (r.top - r.bottom) * image.height()));
        };
        EXPECT_EQ(imageAt(ox - 0.4, 0.3), qRgb(0, 160, 0));
        EXPECT_EQ(imageAt(0, 2.5) == qRgb(0, 160, 0), k.leaks) << "export";
    }
}

} // namespace
} // namespace zarno::test
