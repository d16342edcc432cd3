// The tracers as the draw statuses drive them: recording limits, thinned
// and full redraws, and what each kind of traced shape records.
#include "graphs/shapefunction.h"
#include "graphs/shapevariable2function.h"
#include "loci_fixture.h"
#include "model/shapeline.h"
#include "persist/zarnofile.h"
#include "support/expect_souteigai.h"

#include <QTemporaryDir>
#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

using Tracers = LociTest;

TEST_F(Tracers, RecordingStopsOnceThereAreRecordLimitPlusOneRecords)
{
    TShapeDot *p = clickPoint(0, 0);
    TShapeTracer *mark = markOf(p);
    ASSERT_NE(mark, nullptr);
    TAbstractTracer &t = tracerOf(mark);
    ASSERT_EQ(t.recordLimit(), 20000);
    for (int i = 0; i < 20010; ++i) {
        p->setXY({ i * 1e-3, 0 });
        t.record(*p);
    }
    EXPECT_EQ(t.count(), 20001);
    // Nothing more comes, also not from a drag.
    dragStep(p, 0, 5);
    EXPECT_EQ(t.count(), 20001);
}

TEST_F(Tracers, AZoomDrawsEverySecondOf12000PointRecordsAndAReleaseDrawsThemAll)
{
    TShapeDot *p = clickPoint(0, 0);
    TShapeTracer *mark = markOf(p);
    TAbstractTracer &t = tracerOf(mark);
    for (int i = 0; i < 12000; ++i) {
        p->setXY({ (i % 120) * 0.01, (i / 120) * 0.01 });
        t.record(*p);
    }
    ASSERT_EQ(t.count(), 12000); // the point stands on its last record
    TParentSomething2tracer &rel = *mark->tracerRelation();
    const struct
    {
        TCurrentDrawStatus status;
        bool rebuilding;
        int dots;
    } cases[] = {
        { TCurrentDrawStatus::ZoomStep, false, 6000 }, // 12000 div 5000 = 2
        { TCurrentDrawStatus::Scrolling, false, 6000 },
        { TCurrentDrawStatus::FullRefresh, false, 6000 },
        { TCurrentDrawStatus::DocumentChanged, false, 12000 },
        { TCurrentDrawStatus::Dragging, false, 1 }, // only where the point is now
        { TCurrentDrawStatus::Ordinary, false, 0 },
        { TCurrentDrawStatus::Ordinary, true, 12000 }, // a blanked layer is rebuilt
    };
    for (const auto &c : cases) {
        CountingSurface layer;
        rel.recordAndDraw(c.status, c.rebuilding, layer, mark->penBrush());
        EXPECT_EQ(layer.dots, c.dots) << int(c.status) << " " << c.rebuilding;
    }
    EXPECT_EQ(t.count(), 12000);
}

TEST_F(Tracers, LinesRecordTheirLineARayItsStartToo_ASegmentItsEnds)
{
    const struct
    {
        TFiguretype type;
        double x0;
        int newRecords; // moving the first point along the line
    } cases[] = {
        { TFiguretype::FIG_line, 0, 0 },
        { TFiguretype::FIG_hanCyokusen, 3, 2 },
        { TFiguretype::FIG_senbun, -3, 2 },
    };
    TShapeTracer *mark = nullptr;
    for (const auto &c : cases) {
        TShapeDot *a = clickPoint(c.x0, -1);
        TShapeDot *b = clickPoint(c.x0 + 1, 0, true);
        a->setXY({ c.x0, -1 });
        b->setXY({ c.x0 + 1, 0 });
        auto *line = static_cast<TShapeLine *>(construct(c.type));
        mark = markOf(line);
        ASSERT_NE(mark, nullptr);
        model.clearSelection();
        dragStep(a, 0, 0);
        EXPECT_EQ(tracerOf(mark).count(), 1);
        dragStep(a, -0.5, -0.5);
        dragStep(a, -0.5, -0.5);
        EXPECT_EQ(tracerOf(mark).count(), 1 + c.newRecords)
            << TEnumConverter<TFiguretype>::name(c.type).toStdString();
    }
    // A segment's records are its two ends.
    EXPECT_TRUE(recordTexts(mark).contains(
        QStringLiteral("cyokusen:0.70711,-0.70711,1.41421boundary:(btBothSides(-4.00000,-2.00000),"
                       "(-2.00000,0.00000))")))
        << recordTexts(mark).join(QLatin1Char('\n')).toStdString();
}

TEST_F(Tracers, CirclesEllipsesAndGraphsRecordWhenTheirPointsMove)
{
    TShapeDot *c = clickPoint(0, 0);
    TShapeDot *r = clickPoint(1, 0, true);
    c->setXY({ 0, 0 });
    r->setXY({ 1, 0 });
    TShape *circle = construct(TFiguretype::FIG_circle);
    TShapeTracer *circleMark = markOf(circle);
    model.clearSelection();
    clickPoint(-1, 1.5);
    clickPoint(1, 2.5, true);
    clickPoint(2, 1.5, true);
    TShape *cubic = construct(TFiguretype::FIG_seishiki);
    TShapeTracer *cubicMark = markOf(cubic);
    for (TShapeTracer *m : { circleMark, cubicMark })
        ASSERT_NE(m, nullptr);
    dragStep(c, 0.25, 0);
    dragStep(c, 0.25, 0);
    // The clicks that made the cubic's points recorded where the circle stood.
    EXPECT_EQ(recordTexts(circleMark),
        QStringList({ QStringLiteral("circle:(0.00000,0.00000),1.00000boundary:(btAll)"),
            QStringLiteral("circle:(0.25000,0.00000),0.75000boundary:(btAll)"),
            QStringLiteral("circle:(0.50000,0.00000),0.50000boundary:(btAll)") }));
    // The mark stands at 45° on the circle.
    EXPECT_NEAR(circleMark->markPosition().x, 0.5 + 0.5 * std::sqrt(0.5), 1e-9);

    auto *p = static_cast<TShapeDot *>(cubic->parents().item(1));
    dragStep(p, 0, 1);
    ASSERT_EQ(tracerOf(cubicMark).count(), 2);
    // Replaying a record leaves the live curve as it was.
    const double live = static_cast<TShapeFunction *>(cubic)->valueAt(0.5);
    CountingSurface layer;
    cubicMark->tracerRelation()->recordAndDraw(
        TCurrentDrawStatus::DocumentChanged, false, layer, cubicMark->penBrush());
    EXPECT_EQ(static_cast<TShapeFunction *>(cubic)->valueAt(0.5), live);
}

TEST_F(Tracers, ShapesThatLeaveNoLocusAreRefusedByName)
{
    TShapeArrow arrow(TShapetype::SHAPE_arrow);
    test::expectSouteigai([&] { TParentSomething2tracer::createTracerFor(arrow); },
        QStringLiteral("createShapes2shapeList"),
        QStringLiteral("形(SHAPE_arrow)はサポートしていません。"));
    TShapeLine arrowLine(TShapetype::SHAPE_line);
    arrowLine.setLineKind(TBoundaryType::btAllVec);
    test::expectSouteigai([&] { TParentSomething2tracer::createTracerFor(arrowLine); },
        QStringLiteral("createShapes2shapeList"),
        QStringLiteral("直線境界タイプ(btAllVec)の軌跡はサポートしていません。"));
}

} // namespace

namespace {

// Keeps the highest point of every polyline drawn on it, one per drawing.
class PeakSurface : public CountingSurface
{
public:
    QList<double> peaks;
    void drawPolyline(TPenBrush &, const TModelPoint &offset, int lastIndex, const double *,
        const double *ys) override
    {
        double top = -1e300;
        for (int i = 0; i <= lastIndex; ++i)
            top = std::max(top, ys[i] + offset.y);
        peaks << top;
    }
};

TEST_F(Tracers, AGraphOverACircleRadiusReplaysTheRecordedRadii)
{
    TShapeDot *origin = clickPoint(-2, -2);
    TShapeDot *centre = clickPoint(2, 2);
    TShapeDot *rim = clickPoint(3, 2, true);
    origin->setXY({ 0, 0 });
    centre->setXY({ 2, 2 });
    rim->setXY({ 3, 2 });
    TShape *circle = construct(TFiguretype::FIG_circle);
    TShapeList parents;
    parents.add(circle);
    parents.add(origin);
    std::unique_ptr<TShape> made = static_cast<const TParentShapeVariable2functionClass &>(
        *factory.relationClassFor(TFiguretype::FIG_shapeVariable2function))
                                       .createWithFormula(parents, QStringLiteral("c1.r*sin(x)"));
    auto *graph = static_cast<TShapeFunction *>(made.get());
    field().add(std::move(made));
    model.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged);
    TShapeTracer *mark = markOf(graph);
    ASSERT_NE(mark, nullptr);
    dragStep(rim, 1, 0);
    dragStep(rim, 1, 0);
    dragStep(rim, -2, 0); // back to a recorded radius: nothing new
    QStringList expected;
    for (const char *r : { "1", "2", "3" })
        expected << QStringLiteral("something2function: [1:(0.00000,0.00000)][2:(2.00000,2.00000),"
                                   "%1.00000]")
                        .arg(QLatin1String(r));
    EXPECT_EQ(recordTexts(mark), expected)
        << recordTexts(mark).join(QLatin1Char('\n')).toStdString();

    // Each record draws the curve of its radius, then the live one is back.
    rim->setXY({ 6.5, 2 });
    model.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged);
    PeakSurface layer;
    tracerOf(mark).drawAll(layer, *graph, mark->penBrush());
    // The change of document recorded the radius 4.5 too. A curve may come
    // in several pieces: each radius reaches its height somewhere.
    ASSERT_EQ(tracerOf(mark).count(), 4);
    for (double r : { 1.0, 2.0, 3.0, 4.5 })
        EXPECT_TRUE(std::any_of(layer.peaks.begin(), layer.peaks.end(), [r](double top) {
            return std::fabs(top - r) < 0.01;
        })) << r;
    EXPECT_LT(*std::max_element(layer.peaks.begin(), layer.peaks.end()), 4.51);
    EXPECT_NEAR(graph->valueAt(M_PI / 2), 4.5, 1e-12);

    // The records go into the document with the mark and come back whole
    // (undo reads the same text).
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("loci.znt"));
    TDocumentWriter::write(controller->document(), path);
    auto loaded = TFileReader(path, factory).read();
    auto *back = dynamic_cast<TShapeTracer *>(loaded->field().last());
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(recordTexts(back), recordTexts(mark));
}

} // namespace
