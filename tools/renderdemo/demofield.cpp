#include "renderdemo/demofield.h"

#include "base/penbrush.h"
#include "model/field.h"
#include "model/geometry/mathcyokusen.h"
#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"

#include <memory>

namespace zarno {

TDemoShape::TDemoShape(TShapetype type, Drawer drawer, bool front)
    : TShape(type)
    , fDrawer(std::move(drawer))
    , fFront(front)
{
    TPenBrush::States all;
    all.fill(TPenBrushState::pbSelect);
    penBrush().setStates(all);
    penBrush().setBrushStyle(TBrushStyle::bsClear);
}

void TDemoShape::drawSelected(const TDrawStatus &, TAbstractImageAdapter &s, TPenBrush &pb)
{
    fDrawer(s, pb);
    fDrawer(s, penBrush());
}

void TDemoShape::drawNormal(const TDrawStatus &, TAbstractImageAdapter &s)
{
    fDrawer(s, penBrush());
}

namespace {

// Takes the new shape over, so the field can own it.
std::unique_ptr<TShape> styled(
    TDemoShape *s, TColor color, int widthIndex, TPenStyle style = TPenStyle::psSolid)
{
    std::unique_ptr<TShape> owned(s);
    s->penBrush().setPenColor(color);
    s->penBrush().setBrushColor(color);
    s->penBrush().setPenWidthIndex(widthIndex);
    s->penBrush().setPenStyle(style);
    return owned;
}

std::shared_ptr<TMathCyokusen> lineThrough(
    double x1, double y1, double x2, double y2, TBoundaryType type)
{
    auto line = std::make_shared<TMathCyokusen>();
    line->setBy2Points(x1, y1, x2, y2);
    line->boundary.type = type;
    line->boundary.first.setXY(x1, y1);
    line->boundary.second.setXY(x2, y2);
    line->boundary.setDirectionBy(line->boundary.first, line->boundary.second);
    return line;
}

// outer: the style of the parts beyond the defining points (clear: none).
TDemoShape *lineShape(double x1, double y1, double x2, double y2, TBoundaryType type,
    TPenStyle outer = TPenStyle::psClear)
{
    auto line = lineThrough(x1, y1, x2, y2, type);
    auto *s
        = new TDemoShape(TShapetype::SHAPE_line, [line](TAbstractImageAdapter &sf, TPenBrush &pb) {
              line->drawLine(sf, pb);
              line->drawOuterLine(sf, pb);
          });
    s->penBrush().setOuterPenStyle(outer);
    return s;
}

TDemoShape *arrowShape(double x1, double y1, double x2, double y2)
{
    auto line = lineThrough(x1, y1, x2, y2, TBoundaryType::btBothSides);
    auto *s
        = new TDemoShape(TShapetype::SHAPE_arrow, [line](TAbstractImageAdapter &sf, TPenBrush &pb) {
              line->drawLine(sf, pb);
              const TMathZahyo &tip = line->boundary.endPoint(1);
              sf.drawArrowHead(pb, tip.x, tip.y, -line->b, line->a);
          });
    s->penBrush().setBrushStyle(TBrushStyle::bsSolid);
    return s;
}

TDemoShape *circleShape(const TMathEn &circle, TPenStyle outer = TPenStyle::psClear)
{
    auto c = std::make_shared<TMathEn>();
    c->assign(circle);
    auto *s
        = new TDemoShape(TShapetype::SHAPE_circle, [c](TAbstractImageAdapter &sf, TPenBrush &pb) {
              c->drawCircleOrArc(sf, pb);
              c->drawOuterArc(sf, pb);
          });
    s->penBrush().setOuterPenStyle(outer);
    return s;
}

TDemoShape *dotShape(double x, double y)
{
    auto *s = new TDemoShape(
        TShapetype::SHAPE_dot,
        [x, y](TAbstractImageAdapter &sf, TPenBrush &pb) { sf.drawDot(pb, x, y); }, true);
    s->penBrush().setBrushStyle(TBrushStyle::bsSolid);
    return s;
}

TMathEn arcOf(double cx, double cy, double r, const TMathZahyo &from, const TMathZahyo &to)
{
    TMathEn e;
    e.setCentreRadius({ cx, cy }, r);
    e.boundary.type = TBoundaryType::btBothSides;
    e.setBoundaryPointFrom(0, from.x, from.y);
    e.setBoundaryPointFrom(1, to.x, to.y);
    return e;
}

} // namespace

void buildDemoField(TField &field)
{
    field.modelScale().setScale({ 12, 12 });

    TMathEn circle;
    circle.setCircumcircle({ -6, 0 }, { -2, 0 }, { -4, 2 });
    TMathDaen ellipse;
    ellipse.setBy3Points({ 0, -5 }, { 3, -5 }, { 0, -3.5 });
    auto e = std::make_shared<TMathDaen>(ellipse);

    const TColor grey = makeColor(150, 150, 150), blue = makeColor(0, 0, 200),
                 green = makeColor(0, 140, 0), magenta = makeColor(200, 0, 200),
                 red = makeColor(200, 0, 0), sky = makeColor(0, 120, 200),
                 brown = makeColor(120, 60, 0);

    field.add(styled(lineShape(-10, -8, 10, 8, TBoundaryType::btAll), grey, 0));
    field.add(styled(lineShape(-4, 6, 0, 8, TBoundaryType::btOneSide, TPenStyle::psDot), blue, 1));
    field.add(
        styled(lineShape(-8, -6, -3, -2, TBoundaryType::btBothSides, TPenStyle::psDot), green, 2));
    field.add(
        styled(lineShape(-12, 3, 12, 3, TBoundaryType::btAll), magenta, 1, TPenStyle::psDashDot));
    field.add(styled(circleShape(circle), kColorBlack, 0));
    // A first-quadrant arc with the rest of its circle dashed, and a wide
    // three-quarter arc that leaves its first quadrant open.
    field.add(
        styled(circleShape(arcOf(4, 3, 2.5, { 8, 3 }, { 4, 10 }), TPenStyle::psDash), red, 2));
    field.add(styled(circleShape(arcOf(4, -4, 2, { 4, -1 }, { 5, -4 })), sky, 3));
    field.add(
        styled(new TDemoShape(TShapetype::SHAPE_ellipse,
                   [e](TAbstractImageAdapter &sf, TPenBrush &pb) { e->drawEllipseShape(sf, pb); }),
            brown, 1, TPenStyle::psDash));
    field.add(styled(arrowShape(-9, 9, -6, 5), kColorBlack, 0));
    field.add(styled(arrowShape(5, -7.5, 8.5, -5.5), red, 2));
    field.add(styled(arrowShape(8, 0, 8, 2), kColorBlack, 1));
    for (const TMathZahyo &p : { TMathZahyo(-6, 0), TMathZahyo(-2, 0), TMathZahyo(-4, 2) })
        field.add(styled(dotShape(p.x, p.y), kColorRed, 0));
    field.add(styled(dotShape(0, -5), kColorBlack, 1));
}

} // namespace zarno
