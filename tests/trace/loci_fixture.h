#pragma once

#include "graphs/dot2function.h"
#include "interaction_fixture.h"
#include "support/fake_surface.h"
#include "trace/shapetracer.h"
#include "trace/traceadapter.h"

namespace zarno::test {

// The interaction with the locus mark's construction, and the mark made.
class LociTest : public InteractionTest
{
protected:
    LociTest()
    {
        registerGraphRelationClasses(factory);
        registerTraceRelationClasses(factory);
    }

    // Selects the shape alone and makes its locus mark.
    TShapeTracer *markOf(TShape *shape)
    {
        model.clearSelection();
        model.addToSelection(shape);
        EXPECT_TRUE(window.enabledTools.contains(TFiguretype::FIG_tracer));
        return dynamic_cast<TShapeTracer *>(construct(TFiguretype::FIG_tracer));
    }
    static TAbstractTracer &tracerOf(TShapeTracer *mark)
    {
        return mark->tracerRelation()->tracer();
    }
    // Moves a free point the way a drag does, and draws as a drag does.
    void dragStep(TShapeDot *dot, double dx, double dy)
    {
        dot->moveXYOffsetXY(dx, dy);
        model.setDrawStatusAndRedraw(TCurrentDrawStatus::Dragging);
    }
    QStringList recordTexts(TShapeTracer *mark)
    {
        QStringList t;
        const TTraceList &list = tracerOf(mark).list();
        for (int i = 0; i < list.count(); ++i)
            t << list.item(i).asText();
        return t;
    }
};

// A layer stand-in that counts what a locus draws on it.
class CountingSurface : public FakeSurface
{
public:
    int dots = 0;
    int segments = 0;
    void drawDot(TPenBrush &, double, double) override { ++dots; }
    void drawSegment(TPenBrush &, double, double, double, double) override { ++segments; }
    TModelViewRect getModelViewRect() const override { return { -10, 10, 10, -10 }; }
    TModelPoint getModelPerPixel() const override { return { 0.05, 0.05 }; }
};

} // namespace zarno::test
