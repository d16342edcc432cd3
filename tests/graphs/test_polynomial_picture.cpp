// A teacher's polynomial through the program's own interaction: four points
// made by Ctrl+click, the cubic through them, the points dragged into shape,
// then the graph picked and its extreme points made. With
// ZARNO_POLYNOMIAL_PICTURE=file.png the picture is written out for a look.
#include "app/interaction_fixture.h"
#include "graphs/dot2function.h"
#include "graphs/seishiki2kyokuchi.h"
#include "graphs/shapefunction.h"
#include "platform/bitmap.h"

#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

class PolynomialPicture : public InteractionTest
{
protected:
    PolynomialPicture() { registerGraphRelationClasses(factory); }

    bool inkNear(QPoint p, TColor colour, int reach = 1) const
    {
        const TBitmap &b = screen.getBitmap();
        for (int dy = -reach; dy <= reach; ++dy)
            for (int dx = -reach; dx <= reach; ++dx)
                if (b.pixel(p.x() + dx, p.y() + dy) == colour)
                    return true;
        return false;
    }
};

TEST_F(PolynomialPicture, ACubicThroughFourDraggedPointsWithItsTwoExtremePoints)
{
    TShapeDot *a = clickPoint(-3, -1);
    TShapeDot *b = clickPoint(-1, 0.5, true);
    TShapeDot *c = clickPoint(0.5, -0.5, true);
    TShapeDot *d = clickPoint(2.5, 1, true);
    ASSERT_TRUE(window.enabledTools.contains(TFiguretype::FIG_seishiki));
    auto *cubic = static_cast<TShapeFunction *>(construct(TFiguretype::FIG_seishiki));
    ASSERT_EQ(cubic->getFigureType(), TFiguretype::FIG_seishiki);

    drag(-3, -1, -3, -2);
    drag(-1, 0.5, -2, 1);
    drag(0.5, -0.5, 1, -1.5);
    drag(2.5, 1, 3, 2);
    for (const TShapeDot *p : { a, b, c, d })
        EXPECT_NEAR(cubic->valueAt(p->getX()), p->getY(), 1e-9);
    EXPECT_NEAR(d->getX(), 3, 0.03);
    EXPECT_NEAR(d->getY(), 2, 0.03);

    // Picking the curve between the points offers its extreme points.
    press(0, cubic->valueAt(0));
    release(0, cubic->valueAt(0));
    ASSERT_EQ(selection().count(), 1);
    ASSERT_EQ(selection().first(), cubic);
    ASSERT_TRUE(window.enabledTools.contains(TFiguretype::FIG_seishiki2kyokuchiDots));
    construct(TFiguretype::FIG_seishiki2kyokuchiDots);
    std::vector<TShapeDot *> extremes;
    for (TShape *s : field().items())
        if (s->getFigureType() == TFiguretype::FIG_seishiki2kyokuchiDots)
            extremes.push_back(static_cast<TShapeDot *>(s));
    ASSERT_EQ(extremes.size(), 3u); // one per degree; a cubic turns twice
    const TColor red = makeColor(210, 0, 0);
    for (TShapeDot *e : extremes) {
        e->penBrush().setPenColor(red);
        e->penBrush().setBrushColor(red);
    }
    press(-3.5, 3); // empty field: nothing stays selected
    release(-3.5, 3);
    ASSERT_TRUE(selection().isEmpty());
    model.redraw();

    // Each shown point lies on the curve where it is level, one left of the
    // other and close to where the dragged points make it turn.
    const double h = 1e-4;
    for (int i = 0; i < 2; ++i) {
        const TShapeDot *e = extremes[std::size_t(i)];
        ASSERT_TRUE(e->isDrawable()) << i;
        EXPECT_NEAR(e->getY(), cubic->valueAt(e->getX()), 1e-9);
        const double slope
            = (cubic->valueAt(e->getX() + h) - cubic->valueAt(e->getX() - h)) / (2 * h);
        EXPECT_NEAR(slope, 0, 1e-6) << i;
    }
    EXPECT_NEAR(extremes[0]->getX(), -1.482, 0.02);
    EXPECT_NEAR(extremes[1]->getX(), 1.414, 0.02);
    EXPECT_FALSE(extremes[2]->isDrawable());

    // On the screen: the curve runs through the dragged points and the
    // extreme points are drawn on it.
    const TBitmap &bmp = screen.getBitmap();
    for (const TShapeDot *p : { a, b, c, d }) {
        const QPoint q = px(p->getX(), p->getY());
        EXPECT_EQ(bmp.pixel(q.x(), q.y()), kColorBlack) << p->getX();
    }
    for (const TShapeDot *e : { extremes[0], extremes[1] }) {
        const QPoint q = px(e->getX(), e->getY());
        EXPECT_EQ(bmp.pixel(q.x(), q.y()), red) << e->getX();
    }
    for (double x : { -2.5, -0.5, 2.0 })
        EXPECT_TRUE(inkNear(px(x, cubic->valueAt(x)), kColorBlack)) << x;
    EXPECT_FALSE(inkNear(px(0, 2), kColorBlack, 3)); // nothing off the curve

    const QByteArray out = qgetenv("ZARNO_POLYNOMIAL_PICTURE");
    if (!out.isEmpty()) {
        EXPECT_TRUE(bmp.saveToFile(QString::fromLocal8Bit(out)));
    }
}

} // namespace
