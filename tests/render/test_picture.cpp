// The demo field drawn through the shapes' own path: lines, a ray and a
// segment with their outer parts, a circumcircle with its points, arcs, an
// ellipse and arrows. Checked where exact values exist; with
// ZARNO_PICTURE=file.png the picture is also written out for a look.
#include "platform/bitmap.h"
#include "render/demo/demofield.h"
#include "render/displayadapter.h"
#include "render/field.h"
#include "render_shapes.h"

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
