#pragma once

#include "interaction_fixture.h"
#include "labels/labelclasses.h"
#include "labels/shapewriting.h"
#include "labels/zahyoujiku.h"
#include "labels_support.h"
#include "render/renderclasses.h"
#include "support/memory_document.h"

namespace zarno::test {

// The program's interaction with labels and axes: every new document holds
// the axes (hidden), typesetting is set up and the label dialog is scripted.
class LabelInteractionTest : public ::testing::Test
{
protected:
    // With the render classes every new document holds the output area too.
    explicit LabelInteractionTest(bool withRenderClasses = false)
        : box(QSize(640, 480))
    {
        registerModelRelationClasses(factory);
        registerLabelRelationClasses(factory);
        if (withRenderClasses)
            registerRenderRelationClasses(factory);
        screen.attachMainWindow(&box);
        controller = std::make_unique<TController>(model, factory, window, screen);
        model.setFactory(&factory);
        model.setController(controller.get());
        controller->startUp();
    }

    TField &field() { return controller->field(); }
    const TShapeList &selection() { return model.getSelection(); }
    TShapeZahyoujiku &axes() { return static_cast<TShapeZahyoujiku &>(*field().axes()); }
    QPoint px(double x, double y) { return screen.modelToPixel({ x, y }); }
    void mouse(TMouseKind kind, const QPoint &p, unsigned shift = 0)
    {
        controller->mouse(kind, TMouseButton::mbLeft, shift, p.x(), p.y());
    }
    // Press at one pixel, move through the middle to another, release.
    void dragPx(const QPoint &from, const QPoint &to)
    {
        mouse(TMouseKind::mkPress, from);
        mouse(TMouseKind::mkMove, (from + to) / 2);
        mouse(TMouseKind::mkMove, to);
        mouse(TMouseKind::mkRelease, to);
    }
    TShapeDot *clickPoint(double x, double y)
    {
        mouse(TMouseKind::mkPress, px(x, y), ssCtrl);
        mouse(TMouseKind::mkRelease, px(x, y));
        return static_cast<TShapeDot *>(field().last());
    }
    void select(TShape *shape)
    {
        model.clearSelection();
        model.addToSelection(shape);
    }
    // Builds a figure from these parents as the figure tool does.
    TShape *construct(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        model.clearSelection();
        for (TShape *p : parents)
            model.addToSelection(p);
        const int before = field().count();
        controller->createFigure(type);
        return field().count() > before ? field().last() : nullptr;
    }
    // The pixel centre of a label as last drawn.
    QPoint centreOf(const TShapeWriting &label)
    {
        const TModelViewRect b = label.writing().bounds();
        return px((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }

    LabelsReady ready;
    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TModel model;
    RecordingWindow window;
    TFixedDrawingBox box;
    TDisplayAdapter screen;
    std::unique_ptr<TController> controller;
    ScopedScriptedDialogs dialogs;
    ScopedWritingDialog writingDialog;
};

} // namespace zarno::test
