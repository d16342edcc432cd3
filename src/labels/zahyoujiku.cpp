#include "labels/zahyoujiku.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "labels/shapewriting.h"
#include "model/curverelations.h"
#include "model/parentnil2dot.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"
#include "model/zahyou.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zarno {

namespace {

constexpr TPenBrushState S = TPenBrushState::pbSelect;
constexpr TPenBrushState D = TPenBrushState::pbDisable;
constexpr int kLabelPt = 14;

// Multiples are ints: a scale whose last multiple would not fit is not drawn.
constexpr double kMaxMultiple = 1e9;
// Rounds of widening the step of a scale for its widest number; numbers grow
// by a digit at most a few times over a view.
constexpr int kMaxWidening = 8;

// The classes that build the parts of a new document's axes. Parts read
// from a document are built by the factory's own instances; these live as
// long as the program, like the relations that refer to them.
const TParentNil2dotClass &pointClass()
{
    static const TParentNil2dotClass c;
    return c;
}

const TParentDots2LineClass &axisClass()
{
    static const TParentDots2LineClass c;
    return c;
}

const TParentDot2WritingClass &dotLabelClass()
{
    static const TParentDot2WritingClass c;
    return c;
}

const TParentArrow2writingClass &arrowLabelClass()
{
    static const TParentArrow2writingClass c;
    return c;
}

void setupTickOrGrid(TPenBrush &pb, TColor colour)
{
    pb.setStates({ S, S, S, D, D, D, S });
    pb.setPenColor(colour);
    pb.setPenWidthIndex(0);
    pb.setPenStyle(TPenStyle::psSolid);
}

bool isFigure(const TShape *s, TFiguretype type)
{
    return s && s->getFigureType() == type;
}

bool hasOnlyParent(const TShape *s, const TShape *parent)
{
    return s && s->parents().count() == 1 && s->parents().first() == parent;
}

} // namespace

TAxeProperty::TAxeProperty()
    : fScale(TWriting::createNumberWriting())
    , fGrid(TWriting::createHiddenNumberWriting())
{ }

TAxeProperty::~TAxeProperty() = default;

void TAxeProperty::save(TAbstractFileWriter &writer, const QString &tag) const
{
    writer.openTag(tag);
    writer.openTag(QStringLiteral("scaleInterval"));
    fScale->save(writer);
    writer.closeTag(QStringLiteral("scaleInterval"));
    writer.openTag(QStringLiteral("gridlineInterval"));
    fGrid->save(writer);
    writer.closeTag(QStringLiteral("gridlineInterval"));
    writer.closeTag(tag);
}

void TAxeProperty::load(TAbstractXmlNode &parentNode, const QString &tag)
{
    TAbstractXmlNode &group = parentNode.getThisTagNode(tag);
    fScale->load(group.getThisTagNode(QStringLiteral("scaleInterval")));
    fGrid->load(group.getThisTagNode(QStringLiteral("gridlineInterval")));
}

TZahyoujikuProperty::TZahyoujikuProperty()
{
    // Each x number centred under its mark, each y number centred on its
    // mark left of the axis, half a millimetre away.
    hAxe.scaleInterval().setOffsetMmXy({ 0, -0.5 });
    hAxe.scaleInterval().setDirection(T_Direction::dirS);
    vAxe.scaleInterval().setOffsetMmXy({ -0.5, 0 });
    vAxe.scaleInterval().setDirection(T_Direction::dirW);
}

TAxeProperty &TZahyoujikuProperty::axe(int index)
{
    if (index != 0 && index != 1)
        throw ESouteigai(QStringLiteral("TZahyoujikuProperty"), { fmtArg(index) },
            QStringLiteral("軸%dはありません。"), QStringLiteral("axe"));
    return index == 0 ? hAxe : vAxe;
}

const TAxeProperty &TZahyoujikuProperty::axe(int index) const
{
    return const_cast<TZahyoujikuProperty *>(this)->axe(index);
}

void TZahyoujikuProperty::save(TAbstractFileWriter &writer) const
{
    hAxe.save(writer, QStringLiteral("hAxe"));
    vAxe.save(writer, QStringLiteral("vAxe"));
}

void TZahyoujikuProperty::load(TAbstractXmlNode &node)
{
    hAxe.load(node, QStringLiteral("hAxe"));
    vAxe.load(node, QStringLiteral("vAxe"));
}

int TScaleSteps::stepFor(double minPixels, double modelPerPixel, double interval)
{
    if (!(interval > 0) || !std::isfinite(interval) || !(modelPerPixel > 0))
        return kNone;
    const double k = std::ceil(minPixels * modelPerPixel / interval);
    if (!(k <= kMaxMultiple))
        return kNone;
    return std::max(1, int(k));
}

int TScaleSteps::firstMultiple(int k, double interval, double lo, double hi)
{
    // Marks lie at ±v; the nearest one the view can show is at |v| = 0 when
    // the view holds the origin, otherwise at the view's nearer edge.
    const double nearest = (lo <= 0 && hi >= 0) ? 0 : std::min(std::abs(lo), std::abs(hi));
    const double j = std::floor(nearest / (interval * k)) - 1;
    if (!(j > 1))
        return k;
    return int(std::min(j, kMaxMultiple / k)) * k;
}

TShapeZahyoujiku::TShapeZahyoujiku()
    : TShape(TShapetype::SHAPE_zahyoujiku)
{
    setPropertyType(TPropertyType::Zahyoujiku);
    setCanDelete(false);
    setFView2list(false);
    setupTickOrGrid(fTickPenBrush, kColorBlack);
    setupTickOrGrid(fGridPenBrush, 0xC0C0C0);
}

TShapeZahyoujiku::~TShapeZahyoujiku()
{
    fParts.clear();
}

void TShapeZahyoujiku::adoptParts(const TShapeList &parts)
{
    const bool sized = parts.count() == kPartCount;
    auto *origin = sized ? dynamic_cast<TShapeDot *>(parts.item(Origin)) : nullptr;
    std::array<TShapeArrow *, 2> axes {};
    std::array<TShapeWriting *, 3> labels {};
    bool ok = isFigure(origin, TFiguretype::FIG_genten);
    for (int i = 0; ok && i < 2; ++i) {
        axes[std::size_t(i)] = dynamic_cast<TShapeArrow *>(parts.item(XAxis + i));
        const TShapeArrow *a = axes[std::size_t(i)];
        ok = isFigure(a, TFiguretype::FIG_arrowLine) && a->parents().count() == 2
            && a->parents().first() == origin
            && a->parents().second()->shapeType() == TShapetype::SHAPE_dot;
    }
    for (int i = 0; ok && i < 3; ++i) {
        labels[std::size_t(i)] = dynamic_cast<TShapeWriting *>(parts.item(OriginLabel + i));
        const TShape *anchor = i == 0 ? static_cast<TShape *>(origin) : axes[std::size_t(i - 1)];
        ok = isFigure(labels[std::size_t(i)],
                 i == 0 ? TFiguretype::FIG_writing : TFiguretype::FIG_arrow2writing)
            && hasOnlyParent(labels[std::size_t(i)], anchor);
    }
    if (!ok)
        throw EFileFormatError(QStringLiteral("座標軸の親が, 原点, x軸, y軸, 原点の文字, "
                                              "x軸の文字, y軸の文字の順に並んでいません。"));
    fParts.clear();
    for (TShape *part : parts.items()) {
        fParts.add(part);
        // Properties of any part open the axes' dialog.
        part->setPropertyType(TPropertyType::Zahyoujiku);
    }
    fOrigin = origin;
    fAxes = axes;
    fLabels = labels;
    // A document does not keep which points are fixed.
    fOrigin->setFixed(true);
    for (TShapeArrow *a : fAxes)
        static_cast<TShapeDot *>(a->parents().second())->setFixed(true);
    fHidden = fOrigin->getViewOnOff() == TViewOnOff::voOff;
}

void TShapeZahyoujiku::setShown(bool shown)
{
    fHidden = !shown;
    for (TShape *part : fParts.items())
        part->setViewOnOff(shown ? TViewOnOff::voOn : TViewOnOff::voOff);
}

bool TShapeZahyoujiku::isShown() const
{
    return hasParts() && fOrigin->getViewOnOff() == TViewOnOff::voOn;
}

void TShapeZahyoujiku::linkNameLabels()
{
    if (!hasParts())
        return;
    fProperty.hAxe.nameLabel = &fLabels[1]->writing();
    fProperty.vAxe.nameLabel = &fLabels[2]->writing();
}

void TShapeZahyoujiku::refreshNameLabels()
{
    if (!hasParts())
        return;
    for (int i = 0; i < 2; ++i)
        if (const TWriting *name = fProperty.axe(i).nameLabel)
            fLabels[std::size_t(i + 1)]->setTextAndPt(name->text(), name->pt());
}

void TShapeZahyoujiku::saveInfo(TAbstractFileWriter &writer) const
{
    fProperty.save(writer);
    TShape::saveInfo(writer);
}

void TShapeZahyoujiku::loadInfo(TAbstractXmlNode &node)
{
    fProperty.load(node);
    TShape::loadInfo(node);
}

void TShapeZahyoujiku::beforeDraw(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    // The grid lies under every shape, the axes and their ticks and numbers
    // too: drawn over them, a grid line at a mark would hide its tick and
    // cut through the axis and the numbers.
    if (fHidden || !hasParts() || !isDrawable()
        || !isShapeVisibleOn(surface, getViewType(), getViewOnOff()))
        return;
    drawGrid(surface, 0);
    drawGrid(surface, 1);
}

void TShapeZahyoujiku::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    if (fHidden || !hasParts())
        return;
    drawScale(surface, 0);
    drawScale(surface, 1);
}

namespace {

// What one axis of the view shows: [lo, hi] along it, its reach E from the
// origin, and the model length of one pixel along it.
struct AxisView
{
    double lo;
    double hi;
    double reach;
    double perPixel;

    AxisView(const TAbstractImageAdapter &surface, int axis)
    {
        const TModelViewRect r = surface.getModelViewRect();
        const TModelPoint mpp = surface.getModelPerPixel();
        lo = axis == 0 ? r.left : r.bottom;
        hi = axis == 0 ? r.right : r.top;
        reach = std::max(std::abs(lo), std::abs(hi));
        perPixel = axis == 0 ? mpp.x : mpp.y;
    }
    // Whether a mark at t can show, with room for what hangs beside it.
    bool shows(double t, double margin) const { return t >= lo - margin && t <= hi + margin; }
    // The anchor of a mark at t on this axis.
    static TModelPoint at(int axis, double t)
    {
        return axis == 0 ? TModelPoint { t, 0 } : TModelPoint { 0, t };
    }
};

// Walks the multiples of a scale or grid as the drawing rule has it and
// hands each l with its value to draw.
template <typename Draw>
void forEachMultiple(
    const TWriting &interval, int k, const AxisView &view, double margin, Draw draw)
{
    const double s = interval.value(1);
    int l = TScaleSteps::firstMultiple(k, s, view.lo - margin, view.hi + margin);
    double previous = l == k ? s : interval.value(l - k);
    while (previous < view.reach) {
        const double v = interval.value(l);
        if (!std::isfinite(v))
            return;
        draw(l, v);
        previous = v;
        if (l > INT_MAX - k)
            return;
        l += k;
    }
}

bool drawable(double s, const AxisView &view)
{
    // A non-positive interval (only a damaged document has one) has no marks.
    return s > 0 && std::isfinite(s) && s < view.reach && view.reach / s < kMaxMultiple;
}

} // namespace

void TShapeZahyoujiku::drawScale(TAbstractImageAdapter &surface, int axis)
{
    TWriting &scale = fProperty.axe(axis).scaleInterval();
    if (!scale.view())
        return;
    const AxisView view(surface, axis);
    const double s = scale.value(1);
    if (!drawable(s, view))
        return;
    const TModelPoint tick = surface.mmToModel({ kTickMm, kTickMm });
    const double d = axis == 0 ? tick.y : tick.x;
    // A number hangs at most its size plus its offset beside its mark.
    const TModelPoint off = scale.getOffsetMmXy();
    const TModelPoint offModel = surface.mmToModel({ std::abs(off.x), std::abs(off.y) });
    auto marginFor = [&](int w) {
        return 2 * w * view.perPixel + (axis == 0 ? offModel.x : offModel.y) + std::abs(d);
    };
    // The number farthest out sizes the step...
    const int m = int(std::min(std::nearbyint(view.reach), kMaxMultiple));
    int w = scale.measureHeight(-m, surface);
    int k = TScaleSteps::stepFor(w, view.perPixel, s);
    // ...but it is not always the widest (-5π is narrower than -14/3 π):
    // the step widens until no number drawn is larger than the room it has.
    for (int round = 0; round < kMaxWidening && k != TScaleSteps::kNone; ++round) {
        int widest = w;
        forEachMultiple(scale, k, view, marginFor(w), [&](int l, double v) {
            for (const int sign : { 1, -1 })
                if (view.shows(sign * v, marginFor(w)))
                    widest = std::max(widest, scale.measureHeight(sign * l, surface));
        });
        if (widest <= w)
            break;
        w = widest;
        k = TScaleSteps::stepFor(w, view.perPixel, s);
    }
    if (k == TScaleSteps::kNone)
        return;
    const double margin = marginFor(w);
    forEachMultiple(scale, k, view, margin, [&](int l, double v) {
        for (const int sign : { 1, -1 }) {
            const double t = sign * v;
            if (!view.shows(t, margin))
                continue;
            scale.drawClipped(surface, kColorBlack, sign * l, AxisView::at(axis, t));
            if (axis == 0)
                surface.drawSegment(fTickPenBrush, t, -d, t, d);
            else
                surface.drawSegment(fTickPenBrush, -d, t, d, t);
        }
    });
}

void TShapeZahyoujiku::drawGrid(TAbstractImageAdapter &surface, int axis)
{
    const TWriting &grid = fProperty.axe(axis).gridlineInterval();
    if (!grid.view())
        return;
    const AxisView view(surface, axis);
    const double s = grid.value(1);
    if (!drawable(s, view))
        return;
    const int k = TScaleSteps::stepFor(kGridMinPixels, view.perPixel, s);
    if (k == TScaleSteps::kNone)
        return;
    const TModelViewRect r = surface.getModelViewRect();
    forEachMultiple(grid, k, view, 0, [&](int, double v) {
        for (const double t : { v, -v }) {
            if (!view.shows(t, 0))
                continue;
            if (axis == 0)
                surface.drawSegment(fGridPenBrush, t, r.top, t, r.bottom);
            else
                surface.drawSegment(fGridPenBrush, r.left, t, r.right, t);
        }
    });
}

std::unique_ptr<TAbstractParents2Children> TParentNil2ZahyoujikuClass::createRelation(
    TFiguretype figureType) const
{
    checkSupported(figureType);
    return std::make_unique<TParentNil2Zahyoujiku>(*this, figureType);
}

std::unique_ptr<TShapeZahyoujiku> TParentNil2ZahyoujikuClass::createAxes(
    const TShapeList &parts) const
{
    auto axes = std::make_unique<TShapeZahyoujiku>();
    // Checked before anything is wired: a bad record leaves its parts as they were.
    axes->adoptParts(parts);
    attachNew(TFiguretype::FIG_zahyoujiku, *axes)->setRelation(axes.get(), parts);
    axes->setCustomMyName(QStringLiteral("座標軸"));
    // Whatever a document calls them, these parts keep their names.
    const char *const names[] = { "x軸", "y軸", "原点の文字", "x軸の文字", "y軸の文字" };
    for (int i = 0; i < 5; ++i)
        parts.item(TShapeZahyoujiku::XAxis + i)->setCustomMyName(QString::fromUtf8(names[i]));
    return axes;
}

void TParentNil2ZahyoujikuClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    if (interactive)
        createInitialZahyoujiku(outList);
    else
        outList.add(createAxes(parents));
}

namespace {

std::unique_ptr<TShapeDot> createFixedPoint(
    TFiguretype type, const QString &name, const TModelPoint &at, bool listed, TViewType viewType)
{
    std::unique_ptr<TShapeDot> dot(pointClass().createDotWithZahyou(type,
        TZahyou::createFreeZahyou(), TParentSomething2dotClass::Mode::mProgram, TShapeList()));
    if (!dot)
        throw ESouteigai(QStringLiteral("TParentNil2Zahyoujiku"),
            QStringLiteral("点が作れませんでした。"), QStringLiteral("createInitialZahyoujiku"));
    dot->setInitialXY(at);
    dot->setCustomMyName(name);
    dot->setCanDelete(false);
    dot->setFView2list(listed);
    dot->setFixed(true);
    dot->setCanMoveAnywhere(false);
    dot->setViewType(viewType);
    return dot;
}

std::unique_ptr<TShape> createAxis(const QString &name, TShapeDot &origin, TShapeDot &unit)
{
    TShapeList ends;
    ends.add(&origin);
    ends.add(&unit);
    TShapeStore built;
    axisClass().s_createShapes2shapeList(built, TFiguretype::FIG_arrowLine, false, ends);
    std::unique_ptr<TShape> axis = built.take(built.first());
    axis->setCustomMyName(name);
    axis->setCanDelete(false);
    axis->setViewType(TViewType::vtVisible);
    return axis;
}

void hideFromList(TShape &label, const QString &name)
{
    label.setCustomMyName(name);
    label.setCanDelete(false);
    label.setFView2list(false);
    label.setViewType(TViewType::vtVisible);
}

} // namespace

void TParentNil2ZahyoujikuClass::createInitialZahyoujiku(TShapeStore &outList) const
{
    // On a failure the store frees what was built, children before parents.
    TShapeStore built;
    try {
        auto add = [&built](auto shape) {
            auto *raw = shape.get();
            built.add(std::move(shape));
            return raw;
        };
        TShapeDot *origin = add(createFixedPoint(TFiguretype::FIG_genten, QStringLiteral("原点"),
            { 0, 0 }, true, TViewType::vtEditVisible));
        TShapeDot *unitX = add(createFixedPoint(TFiguretype::FIG_dotOnField,
            QStringLiteral("座標(1,0)"), { 1, 0 }, false, TViewType::vtInvisible));
        TShapeDot *unitY = add(createFixedPoint(TFiguretype::FIG_dotOnField,
            QStringLiteral("座標(0,1)"), { 0, 1 }, false, TViewType::vtInvisible));
        TShape *xAxis = add(createAxis(QStringLiteral("x軸"), *origin, *unitX));
        TShape *yAxis = add(createAxis(QStringLiteral("y軸"), *origin, *unitY));
        TShapeWriting *originLabel = add(dotLabelClass().createLabel(TFiguretype::FIG_writing,
            *origin, QStringLiteral("0"), kLabelPt, { 0, 0 }, T_Direction::dirSW));
        hideFromList(*originLabel, QStringLiteral("原点の文字"));
        TShapeWriting *xLabel = add(arrowLabelClass().createLabel(TFiguretype::FIG_arrow2writing,
            *xAxis, QStringLiteral("x"), kLabelPt, { 0, -1 }, T_Direction::dirSW));
        hideFromList(*xLabel, QStringLiteral("x軸の文字"));
        TShapeWriting *yLabel = add(arrowLabelClass().createLabel(TFiguretype::FIG_arrow2writing,
            *yAxis, QStringLiteral("y"), kLabelPt, { 2, 0 }, T_Direction::dirSE));
        hideFromList(*yLabel, QStringLiteral("y軸の文字"));
        TShapeList parts;
        for (TShape *part :
            { static_cast<TShape *>(origin), xAxis, yAxis, static_cast<TShape *>(originLabel),
                static_cast<TShape *>(xLabel), static_cast<TShape *>(yLabel) })
            parts.add(part);
        built.add(createAxes(parts));
    } catch (const EMyException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(
            className(), e.message(), QStringLiteral("createInitialZahyoujiku"));
    } catch (const std::exception &e) {
        throw EMyFatalException(
            className(), QString::fromUtf8(e.what()), QStringLiteral("createInitialZahyoujiku"));
    }
    outList.takeAllFrom(built);
}

} // namespace zarno
