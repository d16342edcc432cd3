#pragma once

#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "model/field.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "render/displayadapter.h"
#include "render/renderclasses.h"
#include "support/guidance_names.h"
#include "support/scripted_dialogs.h"

#include <QMap>
#include <QStringList>
#include <gtest/gtest.h>
#include <optional>

namespace zarno::test {

// Records what the controller asks of the main window.
class RecordingWindow : public TMainWindowPort
{
public:
    QString status;
    QString title;
    int popups = 0;
    QPoint cursor;
    TFiguretypeSet enabledTools;
    bool pointToolDown = false;
    int releasedPointTool = 0;
    QMap<TCommandId, bool> checked;
    QMap<TCommandId, bool> enabled;
    bool deleteEnabled = false;
    std::optional<TPropertyType> propertyType; // unset until the first call

    void setStatusText(const QString &text) override { status = text; }
    void setTitle(const QString &t) override { title = t; }
    void showShapePopup() override { ++popups; }
    QPoint cursorInView() const override { return cursor; }
    void enableFigureTools(const TFiguretypeSet &types) override { enabledTools = types; }
    void disableFigureTools() override { enabledTools = {}; }
    bool isPointToolDown() const override { return pointToolDown; }
    void releasePointTool() override
    {
        pointToolDown = false;
        ++releasedPointTool;
    }
    void setCommandChecked(TCommandId id, bool c) override { checked[id] = c; }
    void setCommandEnabled(TCommandId id, bool e) override { enabled[id] = e; }
    void setSelectionCommands(TPropertyType type, bool canDelete, bool) override
    {
        propertyType = type;
        deleteEnabled = canDelete;
    }
    void showShapeList(TField &, const TShapeList *) override { }
    void toggleShapeList() override { }
    void showScaleBar(bool) override { }
    void setupToolbar() override { }
    void showSplash() override { }
    void openManual() override { }
    void closeMainWindow() override { }
    void putFigureOnClipboard(const QByteArray &png, const QByteArray &svg) override
    {
        clipboardPng = png;
        clipboardSvg = svg;
        ++clipboardCopies;
    }
    void showPenBrush(const TPenBrush &penBrush,
        const std::array<TListState, TPenBrushLists::kListCount> &states) override
    {
        listStates = states;
        for (int k = 0; k < TPenBrushLists::kListCount; ++k)
            listItems[size_t(k)] = states[size_t(k)] == TListState::Common
                ? TPenBrushLists::matchingItem(k, penBrush)
                : -1;
    }
    std::array<TListState, TPenBrushLists::kListCount> listStates {};
    std::array<int, TPenBrushLists::kListCount> listItems {};
    QByteArray clipboardPng;
    QByteArray clipboardSvg;
    int clipboardCopies = 0;
};

// The program's interaction without windows: factory, model, controller and
// a 640 × 480 screen surface, started up with a new document.
class InteractionTest : public ::testing::Test
{
protected:
    // With the render classes every new document holds the output area.
    explicit InteractionTest(bool withRenderClasses = false)
        : box(QSize(640, 480))
    {
        registerModelRelationClasses(factory);
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
    QPoint px(double x, double y) { return screen.modelToPixel({ x, y }); }
    void press(double x, double y, unsigned shift = 0, TMouseButton button = TMouseButton::mbLeft)
    {
        const QPoint p = px(x, y);
        controller->mouse(TMouseKind::mkPress, button, shift, p.x(), p.y());
    }
    void moveTo(double x, double y)
    {
        const QPoint p = px(x, y);
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, p.x(), p.y());
    }
    void release(double x, double y)
    {
        const QPoint p = px(x, y);
        controller->mouse(TMouseKind::mkRelease, TMouseButton::mbLeft, 0, p.x(), p.y());
    }
    // Pixels are taken before the press: a scroll moves the model under them.
    void drag(double x0, double y0, double x1, double y1)
    {
        const QPoint p0 = px(x0, y0), pm = px((x0 + x1) / 2, (y0 + y1) / 2), p1 = px(x1, y1);
        controller->mouse(TMouseKind::mkPress, TMouseButton::mbLeft, 0, p0.x(), p0.y());
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, pm.x(), pm.y());
        controller->mouse(TMouseKind::mkMove, TMouseButton::mbLeft, 0, p1.x(), p1.y());
        controller->mouse(TMouseKind::mkRelease, TMouseButton::mbLeft, 0, p1.x(), p1.y());
    }
    // A free point made by Ctrl+click.
    TShapeDot *clickPoint(double x, double y, bool keepSelection = false)
    {
        press(x, y, ssCtrl | (keepSelection ? ssShift : 0u));
        release(x, y);
        return static_cast<TShapeDot *>(field().last());
    }
    TShape *construct(TFiguretype type)
    {
        controller->createFigure(type);
        return field().last();
    }

    InstalledGuidanceNames creator;
    TShapeFactory factory;
    TModel model;
    RecordingWindow window;
    TFixedDrawingBox box;
    TDisplayAdapter screen;
    std::unique_ptr<TController> controller;
    ScopedScriptedDialogs dialogs;
};

} // namespace zarno::test
