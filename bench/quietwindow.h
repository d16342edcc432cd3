#pragma once

#include "app/logic/mainwindowport.h"

namespace zarno {

// The main window as the controller sees it, doing nothing: the benchmarks
// time the logic, not the widgets.
class QuietWindow : public TMainWindowPort
{
public:
    void setStatusText(const QString &) override { }
    void setTitle(const QString &) override { }
    void showShapePopup() override { }
    QPoint cursorInView() const override { return {}; }
    void enableFigureTools(const TFiguretypeSet &) override { }
    void disableFigureTools() override { }
    bool isPointToolDown() const override { return false; }
    void releasePointTool() override { }
    void setCommandChecked(TCommandId, bool) override { }
    void showPenBrush(
        const TPenBrush &, const std::array<TListState, TPenBrushLists::kListCount> &) override
    { }
    void putFigureOnClipboard(const QByteArray &, const QByteArray &) override { }
    void setSelectionCommands(TPropertyType, bool, bool) override { }
    void showShapeList(TField &, const TShapeList *) override { }
    void toggleShapeList() override { }
    void showScaleBar(bool) override { }
    void setupToolbar() override { }
    void showSplash() override { }
    void openManual() override { }
    void closeMainWindow() override { }
};

} // namespace zarno
