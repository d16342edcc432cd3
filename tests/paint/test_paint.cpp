// Filled regions as the user makes and sees them: found on the screen's
// raster and on the 300-dpi raster of an export, picked, selected, saved.
#include "graphs/dot2function.h"
#include "graphs/shapefunction.h"
#include "interaction_fixture.h"
#include "paint/shapepaint.h"
#include "persist/zarnofile.h"
#include "platform/bitmap.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>

namespace zarno::test {
namespace {

constexpr TColor kGreen = makeColor(0, 160, 0);

// The save dialog: the one file name, 12 mm per unit.
class FixedGraphicfileDialog : public TSaveGraphicfileDialog
{
public:
    bool execute(QString &fileName, TGraphicfileProperty &property, int) override
    {
        fileName = answer;
        property.scaleType = TGraphicFileScaletype::gstHAxe1;
        property.hAxe1_mm = 12;
        return true;
    }
    QString answer;
};

// The records of an enhanced metafile, in order: type and the whole record.
QList<std::pair<quint32, QByteArray>> emfRecords(const QByteArray &emf)
{
    QList<std::pair<quint32, QByteArray>> records;
    qsizetype at = 0;
    while (at + 8 <= emf.size()) {
        const quint32 type = qFromLittleEndian<quint32>(emf.constData() + at);
        const quint32 size = qFromLittleEndian<quint32>(emf.constData() + at + 4);
        if (size < 8)
            break;
        records.append({ type, emf.mid(at, size) });
        at += size;
    }
    return records;
}

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
    // The disc of radius 2 about the origin, filled from (0.5, 0.5).
    TShapePaint *disc(bool solid = true)
    {
        TShape *en = circle(point(0, 0), point(2, 0));
        return paint({ point(0.5, 0.5), en }, solid);
    }
    // The output area shown, 12 mm per unit (an 8 × 6 area: 96 × 72 mm).
    TShapePrintArea &showArea()
    {
        controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
        auto &area = *static_cast<TShapePrintArea *>(field().printArea());
        area.property().scaleType = TGraphicFileScaletype::gstHAxe1;
        area.property().hAxe1_mm = 12;
        return area;
    }
    // The pixel of a model point in an image of the output area.
    static QRgb imagePixel(const QImage &image, const TModelViewRect &r, double x, double y)
    {
        return image.pixel(int((x - r.left) / (r.right - r.left) * image.width()),
            int((r.top - y) / (r.top - r.bottom) * image.height()));
    }
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
    // The circle itself stays as it is drawn: the mask leaves out the boundary.
    EXPECT_EQ(at(0, -2), kColorBlack);
    EXPECT_EQ(at(-2, 0), kColorBlack);

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

// The tool takes one point and any number of curves, in any order; a
// document whose region names other parents is refused when it is read.
TEST_F(PaintTest, ARegionTakesOnePointAndOneOrMoreCurves)
{
    TShapeDot *o = point(0, 0), *p = point(1, 0);
    TShape *en = circle(o, p);
    TShape *line = make(TFiguretype::FIG_line, { o, p });
    TShape *seg = make(TFiguretype::FIG_senbun, { o, p });
    TShape *arrow = make(TFiguretype::FIG_arrow, { o, p });
    TShape *g = graph(QStringLiteral("x"), o);
    TShape *region = paint({ o, en });
    struct Case
    {
        std::vector<TShape *> shapes;
        bool offered;
    };
    const Case cases[] = {
        { { o }, false },
        { { en }, false },
        { { o, en }, true },
        { { en, o }, true },
        { { o, en, line, seg, arrow, g }, true },
        { { o, p, en }, false },
        { { o, region }, false },
    };
    const TRelationClass *cls = factory.relationClassFor(TFiguretype::FIG_paint);
    ASSERT_NE(cls, nullptr);
    for (const Case &k : cases) {
        TShapeList list;
        for (TShape *s : k.shapes)
            list.add(s);
        SCOPED_TRACE(int(k.shapes.size()));
        EXPECT_EQ(factory.figureTypesFor(list).contains(TFiguretype::FIG_paint), k.offered);
        EXPECT_EQ(cls->acceptsParents(list), k.offered);
    }
}

// The tool as the user reaches it: a point and a circle chosen with the
// mouse (the curve first) offer it, and it makes one region, which can be
// undone.
TEST_F(PaintTest, TheToolMakesARegionFromTheSelectionAndUndoTakesItBack)
{
    TShapeDot *c = point(0, 0);
    TShape *en = circle(c, point(2, 0));
    TShapeDot *seed = point(-0.5, -0.5);
    redraw();
    press(0, 2);
    release(0, 2);
    press(-0.5, -0.5, ssShift);
    release(-0.5, -0.5);
    ASSERT_EQ(selection().count(), 2);
    EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_paint));
    const int before = field().count();
    auto *region = dynamic_cast<TShapePaint *>(construct(TFiguretype::FIG_paint));
    ASSERT_NE(region, nullptr);
    EXPECT_EQ(field().count(), before + 1);
    EXPECT_EQ(region->parents().item(0), seed);
    EXPECT_EQ(region->parents().item(1), en);
    EXPECT_TRUE(region->isDrawable());
    controller->executeAction(TCommandId::cmdUndo);
    EXPECT_EQ(field().count(), before);
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
    TShapePrintArea &area = showArea();
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
        const auto imageAt = [&](double x, double y) { return imagePixel(image, r, x, y); };
        EXPECT_EQ(imageAt(ox - 0.4, 0.3), qRgb(0, 160, 0));
        EXPECT_EQ(imageAt(0, 2.5) == qRgb(0, 160, 0), k.leaks) << "export";
    }
}

// The 300-dpi image is drawn from a mask of its own resolution; at every
// point of a grid over the area away from the circle, it is filled where
// the screen is.
TEST_F(PaintTest, The300DpiExportMatchesTheScreenRegionScaled)
{
    TShapePrintArea &area = showArea();
    disc();
    redraw();
    controller->executeAction(TCommandId::cmdCopyFigure);
    const QImage image = QImage::fromData(window.clipboardPng, "PNG");
    ASSERT_EQ(image.width(), 1134); // 96 mm at 300 dpi
    const TModelViewRect r = area.modelRect();
    int filled = 0, compared = 0;
    for (double y = r.bottom + 0.1; y < r.top; y += 0.2)
        for (double x = r.left + 0.1; x < r.right; x += 0.2) {
            const double d = std::hypot(x, y);
            // Not on the circle, the centre, or the points (0.5, 0.5) and (2, 0).
            if (std::fabs(d - 2) < 0.1 || d < 0.1 || std::hypot(x - 0.5, y - 0.5) < 0.1
                || std::hypot(x - 2, y) < 0.15)
                continue;
            const bool onScreen = at(x, y) == kGreen;
            EXPECT_EQ(imagePixel(image, r, x, y) == qRgb(0, 160, 0), onScreen) << x << "," << y;
            EXPECT_EQ(onScreen, d < 2) << x << "," << y;
            filled += onScreen;
            ++compared;
        }
    EXPECT_GT(filled, 250);
    EXPECT_GT(compared, 1000);
}

TEST_F(PaintTest, ANewRegionIsHatchedWithTheBrushOnly)
{
    TShapePaint *region = disc(false);
    EXPECT_EQ(region->penBrush().getBrushStyle(), TBrushStyle::bsBDiagonal);
    EXPECT_EQ(region->penBrush().getBrushColor(), kColorBlack);
    EXPECT_EQ(region->penBrush().state(TPenBrush::aBrushStyle), TPenBrushState::pbSelect);
    EXPECT_EQ(region->penBrush().state(TPenBrush::aPenColor), TPenBrushState::pbDisable);
    redraw();
    // Inside: lines of the hatch with paper between them; outside: paper.
    const auto inkIn = [&](double x0, double y0) {
        const QPoint p = px(x0, y0);
        int ink = 0;
        for (int y = p.y(); y < p.y() + 16; ++y)
            for (int x = p.x(); x < p.x() + 16; ++x)
                ink += screen.getBitmap().pixel(x, y) == kColorBlack;
        return ink;
    };
    EXPECT_GT(inkIn(-1, 0), 16);
    EXPECT_LT(inkIn(-1, 0), 128);
    EXPECT_EQ(inkIn(2.5, 2.5), 0);
}

TEST_F(PaintTest, APickInsideTheRegionSelectsItAndOneOutsideDoesNot)
{
    TShapePaint *region = disc();
    redraw();
    EXPECT_EQ(region->rawDistance({ -1, -0.5 }, {}), 0);
    EXPECT_EQ(region->rawDistance({ 3, 2.5 }, {}), 100);
    press(-1, -0.5);
    release(-1, -0.5);
    ASSERT_EQ(selection().count(), 1);
    EXPECT_EQ(selection().first(), region);
    press(3, 2.5);
    release(3, 2.5);
    EXPECT_TRUE(selection().isEmpty());
}

TEST_F(PaintTest, ASelectedRegionIsFilledWithTheSelectionColour)
{
    TShapePaint *region = disc();
    model.addToSelection(region);
    region->setFSelected(true);
    redraw();
    EXPECT_EQ(at(-1, -0.5), TPenBrush::selectionColor(kGreen));
    EXPECT_NE(at(-1, -0.5), kGreen);
    EXPECT_EQ(at(3, 2.5), kColorWhite);
    // An export shows it in its own colour.
    showArea();
    controller->executeAction(TCommandId::cmdCopyFigure);
    const QImage image = QImage::fromData(window.clipboardPng, "PNG");
    EXPECT_EQ(imagePixel(image, static_cast<TShapePrintArea *>(field().printArea())->modelRect(),
                  -1, -0.5),
        qRgb(0, 160, 0));
}

TEST_F(PaintTest, ARegionSavesAndLoadsWithItsParentsAndBrush)
{
    TShapePaint *region = disc();
    region->penBrush().setBrushStyle(TBrushStyle::bsCross);
    const QByteArray saved = TDocumentWriter::state(controller->document());
    auto loaded = TFileReader(QString(), factory).readState(saved);
    ASSERT_TRUE(loaded);
    auto *back = dynamic_cast<TShapePaint *>(loaded->field().last());
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->parents().count(), 2);
    EXPECT_EQ(back->parents().item(0)->shapeType(), TShapetype::SHAPE_dot);
    EXPECT_EQ(back->parents().item(1)->shapeType(), TShapetype::SHAPE_circle);
    EXPECT_EQ(back->penBrush().getBrushStyle(), TBrushStyle::bsCross);
    EXPECT_EQ(back->penBrush().getBrushColor(), kGreen);
    EXPECT_EQ(TDocumentWriter::state(*loaded), saved);
    // The loaded region fills the same disc.
    back->penBrush().setBrushStyle(TBrushStyle::bsSolid);
    controller->installDocument(std::move(loaded));
    redraw();
    EXPECT_EQ(at(-1, -0.5), kGreen);
    EXPECT_EQ(at(3, 2.5), kColorWhite);
}

// In vector files the region is a filled shape built from the 300-dpi mask,
// never a flood-fill record that a viewer would execute in its own way.
TEST_F(PaintTest, VectorExportsHoldTheRegionAsAFilledPath)
{
    showArea();
    TShapePaint *region = disc(false);
    region->penBrush().setBrushColor(kGreen);
    redraw();
    auto d = std::make_unique<FixedGraphicfileDialog>();
    FixedGraphicfileDialog *dialog = d.get();
    auto previous = TSaveGraphicfileDialog::install(std::move(d));
    QTemporaryDir dir;
    dialog->answer = dir.filePath(QStringLiteral("region.emf"));
    ASSERT_TRUE(controller->saveGraphicfile());
    TSaveGraphicfileDialog::install(std::move(previous));
    QFile file(dialog->answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    constexpr quint32 kBeginPath = 59, kFillPath = 62, kExtFloodFill = 53, kSelectClipPath = 67,
                      kCreateBrushIndirect = 39;
    QList<quint32> types;
    bool hatchBrush = false;
    for (const auto &[type, record] : emfRecords(file.readAll())) {
        types << type;
        // The brush: hatched (2), green, backward diagonal (3).
        if (type == kCreateBrushIndirect && record.size() >= 24)
            hatchBrush = hatchBrush
                || (qFromLittleEndian<quint32>(record.constData() + 12) == 2
                    && qFromLittleEndian<quint32>(record.constData() + 16) == kGreen
                    && qFromLittleEndian<quint32>(record.constData() + 20) == 3);
    }
    EXPECT_TRUE(hatchBrush);
    const qsizetype begin = types.indexOf(kBeginPath);
    ASSERT_GE(begin, 0);
    EXPECT_GT(types.indexOf(kFillPath, begin), begin);
    EXPECT_FALSE(types.contains(kExtFloodFill));
    EXPECT_FALSE(types.contains(kSelectClipPath));
    // SVG: the hatch's lines in the brush colour, cut to the region.
    controller->executeAction(TCommandId::cmdCopyFigure);
    EXPECT_TRUE(window.clipboardSvg.contains("fill=\"#00a000\""));
}

} // namespace
} // namespace zarno::test
