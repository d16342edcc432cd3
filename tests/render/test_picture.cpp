// The demo field drawn through the shapes' own path: lines, a ray and a
// segment with their outer parts, a circumcircle with its points, arcs, an
// ellipse and arrows. Checked where exact values exist; with
// ZARNO_PICTURE=file.png the picture is also written out for a look.
#include "model/field.h"
#include "model/modelclasses.h"
#include "model/shapecircle.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "platform/bitmap.h"
#include "render/displayadapter.h"
#include "render_shapes.h"
#include "renderdemo/demofield.h"
#include "support/guidance_names.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace zarno;

TEST(Picture, DemoField)
{
    test::ScreenDpi dpi;
    TField field;
    buildDemoField(field);
    TFixedDrawingBox box(QSize(800, 600));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&field);
    screen.fitToView();
    TDrawStatus status;
    screen.redraw(field, status);
    const TBitmap &b = screen.getBitmap();
    const auto at = [&](double x, double y) {
        const QPoint p = screen.modelToPixel({ x, y });
        return b.pixel(p.x(), p.y());
    };

    // The circumcircle through its three points, with the red points on top.
    EXPECT_EQ(at(-6, 0), kColorRed);
    EXPECT_EQ(at(-4, 2), kColorRed);
    EXPECT_EQ(at(-4, -2), kColorBlack);
    EXPECT_EQ(at(-4, 0), kColorWhite);
    // The red arc covers its first quadrant with the 3-pixel pen.
    const TColor red = makeColor(200, 0, 0), sky = makeColor(0, 120, 200);
    EXPECT_EQ(at(4 + 2.5 * std::cos(M_PI / 4), 3 + 2.5 * std::sin(M_PI / 4)), red);
    // The three-quarter arc leaves its first quadrant open.
    EXPECT_EQ(at(4 + 2 * std::cos(M_PI / 4), -4 + 2 * std::sin(M_PI / 4)), kColorWhite);
    EXPECT_EQ(at(4, -6), sky);
    EXPECT_EQ(at(2, -4), sky);
    // The arrow from (8, 0) to (8, 2) ends in a head pointing up.
    EXPECT_EQ(at(8, 2), kColorBlack);
    const QPoint tip = screen.modelToPixel({ 8, 2 });
    EXPECT_EQ(b.pixel(tip.x() - 3, tip.y() + 10), kColorBlack); // inside the head
    EXPECT_EQ(b.pixel(tip.x() - 3, tip.y() - 3), kColorWhite); // nothing beyond the tip

    const QByteArray out = qgetenv("ZARNO_PICTURE");
    if (!out.isEmpty()) {
        EXPECT_TRUE(b.saveToFile(QString::fromLocal8Bit(out)));
    }
}

namespace {

// Whether the colour is at the pixel of (x, y) or one of its eight
// neighbours: a computed point on a 2-pixel line may round either way.
bool inkNear(const TBitmap &b, QPoint p, TColor colour)
{
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (b.pixel(p.x() + dx, p.y() + dy) == colour)
                return true;
    return false;
}

} // namespace

// A construction made by the program's own factory: a triangle with its
// circumcircle, a parallel and a perpendicular, an arc, an ellipse and
// arrows. With ZARNO_CONSTRUCTION_PICTURE=file.png the picture is written out.
TEST(Picture, ConstructionThroughTheFactory)
{
    test::ScreenDpi dpi;
    test::InstalledGuidanceNames creator;
    TShapeFactory factory;
    registerModelRelationClasses(factory);
    TField field;
    auto build = [&](TFiguretype type, std::initializer_list<TShape *> parents) {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore made = factory.create(type, ps);
        const QList<TShape *> shapes = made.items();
        field.takeAllFrom(made);
        return shapes;
    };
    auto point = [&](double x, double y) {
        auto *d = static_cast<TShapeDot *>(build(TFiguretype::FIG_dotOnField, {}).first());
        d->setInitialXY({ x, y });
        return d;
    };
    auto pen = [](TShape *s, TColor c, int width, TPenStyle style = TPenStyle::psSolid) {
        s->penBrush().setPenColor(c);
        s->penBrush().setPenWidthIndex(width);
        s->penBrush().setPenStyle(style);
        return s;
    };
    const TColor red = makeColor(210, 0, 0), blue = makeColor(0, 80, 220),
                 green = makeColor(0, 150, 0), violet = makeColor(140, 0, 180),
                 orange = makeColor(230, 120, 0);

    TShapeDot *a = point(-5, -2), *b = point(1, -3), *c = point(-3, 3);
    const QList<TShape *> triangle = build(TFiguretype::FIG_senbun, { a, b, c }); // AB, BC, CA
    for (TShape *edge : triangle) {
        pen(edge, kColorBlack, 1);
        edge->penBrush().setOuterPenStyle(TPenStyle::psDot);
    }
    auto *circum = static_cast<TShapeCircle *>(
        pen(build(TFiguretype::FIG_gaisetsuen, { a, b, c }).first(), red, 1));
    pen(build(TFiguretype::FIG_line_1tenHeikou, { c, triangle[0] }).first(), blue, 1);
    pen(build(TFiguretype::FIG_line_1tenSuicyoku, { a, triangle[1] }).first(), green, 1,
        TPenStyle::psDash);
    TShapeDot *o = point(6, 2), *s = point(8, 2), *e = point(6, 4);
    pen(build(TFiguretype::FIG_arc, { o, s, e }).first(), violet, 2);
    TShapeDot *g = point(6, -3), *h = point(8, -3), *k = point(6, -2);
    pen(build(TFiguretype::FIG_ellipse, { g, h, k }).first(), orange, 1);
    TShapeDot *t1 = point(-8.5, 4), *t2 = point(-5.5, 5);
    pen(build(TFiguretype::FIG_arrow, { t1, t2 }).first(), kColorBlack, 1);
    TShapeDot *t3 = point(-8.5, -5), *t4 = point(-6.5, -4);
    pen(build(TFiguretype::FIG_arrowLine, { t3, t4 }).first(), blue, 0);

    TFixedDrawingBox box(QSize(1280, 800));
    TDisplayAdapter screen;
    screen.attachMainWindow(&box);
    screen.setController(&field);
    screen.fitToView();
    TDrawStatus status;
    screen.redraw(field, status);
    const TBitmap &bmp = screen.getBitmap();
    auto px = [&](double x, double y) { return screen.modelToPixel({ x, y }); };

    // The circumcircle passes through the three corners; away from them it is red.
    const TMathEn &en = circum->circle();
    for (TShapeDot *corner : { a, b, c })
        EXPECT_NEAR(en.centre.distance(TMathZahyo(corner->getXY())), en.radius, 1e-9);
    EXPECT_TRUE(inkNear(bmp, px(en.centre.x, en.centre.y - en.radius), red));
    // The parallel through C runs along AB's direction (6, −1), the
    // perpendicular through A along BC's normal (6, 4).
    EXPECT_TRUE(inkNear(bmp, px(-3 - 6 * 0.8, 3 + 0.8), blue));
    EXPECT_TRUE(inkNear(bmp, px(-5 - 0.6 * 6, -2 - 0.6 * 4), green));
    // The arc covers the quarter from S to E counter-clockwise, not the rest.
    EXPECT_TRUE(inkNear(bmp, px(6 + 2 * M_SQRT1_2, 2 + 2 * M_SQRT1_2), violet));
    EXPECT_FALSE(inkNear(bmp, px(6 - 2 * M_SQRT1_2, 2 - 2 * M_SQRT1_2), violet));
    // The ellipse about G through H and K: semi-axes 2 and 1.
    EXPECT_TRUE(inkNear(bmp, px(6 + 2 * M_SQRT1_2, -3 + M_SQRT1_2), orange));
    EXPECT_TRUE(inkNear(bmp, px(4, -3), orange));
    // The arrow's head fills the space just behind its tip T2.
    const QPoint tip = px(-5.5, 5);
    const QPoint behind = px(-5.5 - 0.15 * 3 / std::hypot(3, 1), 5 - 0.15 / std::hypot(3, 1));
    EXPECT_EQ(bmp.pixel(behind.x(), behind.y()), kColorBlack);
    EXPECT_EQ(bmp.pixel(tip.x() + 6, tip.y() - 6), kColorWhite);

    const QByteArray out = qgetenv("ZARNO_CONSTRUCTION_PICTURE");
    if (!out.isEmpty()) {
        EXPECT_TRUE(bmp.saveToFile(QString::fromLocal8Bit(out)));
    }
    TParents2Children::setGuidanceNameCreator(nullptr);
}

// Every kind of arrow fills its head with its brush, whatever the state of
// the brush style (only arrow lines offer it for editing).
TEST(Picture, ArrowHeadsOfEveryKindAreFilledWithTheBrush)
{
    test::ScreenDpi dpi;
    TDpi::setCurrent(300, 300); // a head 45 pixels long
    TGuidanceNameCreator creator;
    TParents2Children::setGuidanceNameCreator(&creator);
    TShapeFactory factory;
    registerModelRelationClasses(factory);
    const TColor green = makeColor(0, 160, 0);
    for (TFiguretype type :
        { TFiguretype::FIG_arrow, TFiguretype::FIG_arrowHanCyokusen, TFiguretype::FIG_arrowLine }) {
        TField field;
        auto point = [&](double x, double y) {
            TShapeStore made = factory.create(TFiguretype::FIG_dotOnField, TShapeList());
            auto *d = static_cast<TShapeDot *>(made.first());
            d->setInitialXY({ x, y });
            d->penBrush().setViewType(TViewType::vtInvisible);
            field.takeAllFrom(made);
            return d;
        };
        TShapeList parents;
        parents.add(point(-1, 0));
        parents.add(point(0, 0));
        TShapeStore made = factory.create(type, parents);
        auto *arrow = static_cast<TShapeArrow *>(made.first());
        field.takeAllFrom(made);
        arrow->penBrush().setPenColor(kColorBlack);
        arrow->penBrush().setBrushColor(green);

        TFixedDrawingBox box(QSize(400, 300));
        TDisplayAdapter screen;
        screen.attachMainWindow(&box);
        screen.setController(&field);
        screen.fitToView();
        TDrawStatus status;
        screen.clear();
        field.draw(status, screen); // at 300 DPI: no screen preparation
        const TBitmap &bmp = screen.getBitmap();
        const TMathZahyo &end = arrow->boundary().endPoint(1);
        const QPoint tip = screen.modelToPixel({ end.x, end.y });
        const QString kind = TEnumConverter<TFiguretype>::name(type);
        // 20 pixels behind the tip the head is 12 pixels wide; 3 pixels off
        // the shaft lies inside it, away from shaft and outline.
        EXPECT_EQ(bmp.pixel(tip.x() - 20, tip.y() - 3), green) << kind.toStdString();
        EXPECT_EQ(bmp.pixel(tip.x() - 20, tip.y() + 3), green) << kind.toStdString();
        EXPECT_EQ(bmp.pixel(tip.x() - 20, tip.y() - 12), kColorWhite) << kind.toStdString();
    }
    TParents2Children::setGuidanceNameCreator(nullptr);
}
