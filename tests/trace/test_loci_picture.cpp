// Two classic loci made as a teacher makes them. A point P runs round a
// circle (centre O, radius a) and F is a fixed point inside it:
// - the foot X of the perpendicular from F to the tangent at P traces the
//   pedal curve of the circle (a limaçon);
// - the line through P perpendicular to FP sweeps a family whose envelope
//   is the ellipse with foci F and its mirror image in O.
// With ZARNO_LOCI_PICTURE=file.png the screen is written out for a look,
// and the document beside it (file.znt).
#include "loci_fixture.h"
#include "model/shapecircle.h"
#include "model/shapeline.h"
#include "persist/zarnofile.h"
#include "platform/bitmap.h"
#include "trace/tracerecords.h"

#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

class LociPicture : public LociTest
{
protected:
    TShape *build(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        model.clearSelection();
        for (TShape *s : parents)
            model.addToSelection(s);
        EXPECT_TRUE(window.enabledTools.contains(type))
            << TEnumConverter<TFiguretype>::name(type).toStdString();
        return construct(type);
    }
};

TEST_F(LociPicture, ThePedalCurveOfACircleAndTheEnvelopeOfItsPerpendiculars)
{
    const TModelPoint o { 0.2, 0.1 };
    const double a = 2.5, c = 1.5;
    TShapeDot *centre = clickPoint(o.x, o.y);
    TShapeDot *rim = clickPoint(o.x + a, o.y, true);
    centre->setXY(o);
    rim->setXY({ o.x + a, o.y });
    TShape *circle = construct(TFiguretype::FIG_circle);
    model.clearSelection();
    // P on the circle, by a Ctrl+click on it.
    const double start = 2.0;
    TShapeDot *p = clickPoint(o.x + a * std::cos(start), o.y + a * std::sin(start));
    ASSERT_EQ(p->getFigureType(), TFiguretype::FIG_dotOnCircle);
    model.clearSelection();
    TShapeDot *f = clickPoint(o.x + c, o.y);
    f->setXY({ o.x + c, o.y });

    TShape *tangent = build(TFiguretype::FIG_sessenOnCircle, { circle, p });
    TShape *perpendicularFromF = build(TFiguretype::FIG_line_1tenSuicyoku, { f, tangent });
    TShape *foot = build(TFiguretype::FIG_koutenLineLine, { tangent, perpendicularFromF });
    TShape *fp = build(TFiguretype::FIG_line, { f, p });
    TShape *perpendicularAtP = build(TFiguretype::FIG_line_1tenSuicyoku, { p, fp });
    TShapeTracer *pedal = markOf(foot);
    TShapeTracer *envelope = markOf(perpendicularAtP);
    ASSERT_NE(pedal, nullptr);
    ASSERT_NE(envelope, nullptr);
    pedal->penBrush().setPenColor(makeColor(210, 0, 0));
    envelope->penBrush().setPenColor(makeColor(0, 120, 230));
    for (TShape *s : { tangent, perpendicularFromF, fp })
        s->penBrush().setPenColor(makeColor(170, 170, 170));

    // Once round the circle with the mouse, a little beyond it each time.
    model.clearSelection();
    press(p->getX(), p->getY());
    ASSERT_EQ(selection().first(), p);
    for (int i = 1; i <= 180; ++i) {
        const double t = start + i * M_PI / 90;
        moveTo(o.x + (a + 0.05) * std::cos(t), o.y + (a + 0.05) * std::sin(t));
    }
    release(p->getX(), p->getY());

    // Every recorded X sees F and the centre as the pedal curve says:
    // X·(X − F) = ±a·|X − F|, with X and F taken from the centre.
    TAbstractTracer &points = tracerOf(pedal);
    ASSERT_GT(points.count(), 150);
    for (int i = 0; i < points.count(); ++i) {
        const auto &r = static_cast<const TTraceRecordOfDot &>(points.list().item(i));
        const double x = r.x - o.x, y = r.y - o.y, fx = x - c, fy = y;
        EXPECT_NEAR(std::fabs(x * fx + y * fy), a * std::hypot(fx, fy), 1e-6) << i;
    }
    // Every recorded line touches the ellipse with foci ±F (from the centre):
    // the product of the foci's distances to it is b² = a² − c².
    TAbstractTracer &lines = tracerOf(envelope);
    ASSERT_GT(lines.count(), 150);
    for (int i = 0; i < lines.count(); ++i) {
        const auto &l = static_cast<const TTraceRecordOfCyokusen &>(lines.list().item(i));
        auto distance = [&](double x, double y) {
            return std::fabs(l.a * (o.x + x) + l.b * (o.y + y) + l.c);
        };
        EXPECT_NEAR(distance(c, 0) * distance(-c, 0), a * a - c * c, 1e-6) << i;
    }

    model.clearSelection();
    model.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged);
    const QByteArray out = qgetenv("ZARNO_LOCI_PICTURE");
    if (!out.isEmpty()) {
        screen.getBitmap().saveToFile(QString::fromLocal8Bit(out));
        // The document beside it, for a look at its export.
        TDocumentWriter::write(controller->document(),
            QString::fromLocal8Bit(out).replace(QStringLiteral(".png"), QStringLiteral(".znt")));
    }
    // On the screen: the limaçon's far vertex (opposite F) is red, and the
    // envelope touches the ellipse's minor vertices.
    auto inkNear = [&](TModelPoint m, TColor colour) {
        const QPoint q = screen.modelToPixel(m);
        for (int dy = -2; dy <= 2; ++dy)
            for (int dx = -2; dx <= 2; ++dx)
                if (screen.getBitmap().pixel(q.x() + dx, q.y() + dy) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(inkNear({ o.x - a, o.y }, makeColor(210, 0, 0)));
    const double b = std::sqrt(a * a - c * c);
    EXPECT_TRUE(inkNear({ o.x, o.y + b }, makeColor(0, 120, 230)));
    EXPECT_TRUE(inkNear({ o.x, o.y - b }, makeColor(0, 120, 230)));
}

} // namespace
