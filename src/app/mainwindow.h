#pragma once

#include "app/logic/mainwindowport.h"
#include "platform/widgets/bitmapview.h"

#include <QMainWindow>
#include <QSlider>
#include <functional>

class QCheckBox;
class QLabel;
class QMenu;
class QToolBar;

namespace zarno {

class TComboBoxList;
class TController;
class TFigureActionManager;
class TMenuActionManager;
class TViewShapeListFacade;

// The drawing view: shows the screen surface's bitmap and hands mouse and
// key events to the controller.
class TViewWidget : public TBitmapView
{
public:
    explicit TViewWidget(QWidget *parent = nullptr);
    void setController(TController *controller) { fController = controller; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    void forward(TMouseKind kind, QMouseEvent *event);
    TController *fController = nullptr;
};

// A zoom slider: -120 … 120, springing back to 0 when released. Negative
// positions lie left on the horizontal slider and at the top of the
// vertical one, so each enlarges towards its own 拡大 end (right, up).
class TZoomSlider : public QSlider
{
public:
    TZoomSlider(Qt::Orientation orientation, QWidget *parent = nullptr);
    std::function<void()> onRelease;

protected:
    void keyReleaseEvent(QKeyEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void springBack();
};

// The centimetre ruler shown above the view for sizing image files.
class TRulerWidget : public QWidget
{
public:
    explicit TRulerWidget(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The main window: view, zoom controls, ruler, toolbars, menus and status
// bar. It keeps no document state; everything goes to the controller.
class TfrmMain : public QMainWindow, public TMainWindowPort
{
public:
    TfrmMain();
    ~TfrmMain() override;

    void setController(TController *controller);
    void setManagers(TMenuActionManager *menus, TFigureActionManager *tools);
    // The shape list window beside this one; none while there is no program.
    void setShapeList(TViewShapeListFacade *shapeList) { fShapeList = shapeList; }

    TViewWidget *view() const { return fView; }
    QToolBar *commandToolbar() const { return fCommandBar; }
    QToolBar *penBrushToolbar() const { return fPenBrushBar; }
    QToolBar *figureToolbar() const { return fFigureBar; }
    QMenu *shapePopup() const { return fPopup; }
    TZoomSlider *horizontalZoom() const { return fZoomH; }
    TZoomSlider *verticalZoom() const { return fZoomV; }
    QCheckBox *linkBox() const { return fLink; }
    void setRulerVisible(bool visible);
    bool isRulerVisible() const;

    // TMainWindowPort
    void setStatusText(const QString &text) override;
    void setTitle(const QString &title) override { setWindowTitle(title); }
    void showShapePopup() override;
    QPoint cursorInView() const override;
    void enableFigureTools(const TFiguretypeSet &types) override;
    void disableFigureTools() override;
    bool isPointToolDown() const override;
    void releasePointTool() override;
    void setCommandChecked(TCommandId commandId, bool checked) override;
    void setCommandEnabled(TCommandId commandId, bool enabled) override;
    void setSelectionCommands(
        TPropertyType propertyType, bool canDelete, bool anySelected) override;
    void showShapeList(TField &field, const TShapeList *selection) override;
    void toggleShapeList() override;
    void showScaleBar(bool shown) override { setRulerVisible(shown); }
    void setupToolbar() override;
    void showSplash() override;
    void openManual() override;
    void putFigureOnClipboard(const QByteArray &png, const QByteArray &svg) override;
    void showPenBrush(const TPenBrush &penBrush,
        const std::array<TListState, TPenBrushLists::kListCount> &states) override;
    TComboBoxList &penBrushLists() { return *fPenBrushLists; }
    void closeMainWindow() override { close(); }

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void zoomChanged(bool horizontal, int position);

    TController *fController = nullptr;
    TMenuActionManager *fMenus = nullptr;
    TFigureActionManager *fTools = nullptr;
    TViewShapeListFacade *fShapeList = nullptr;
    TViewWidget *fView;
    TRulerWidget *fRuler;
    TZoomSlider *fZoomH;
    TZoomSlider *fZoomV;
    QCheckBox *fLink;
    QToolBar *fCommandBar;
    QToolBar *fPenBrushBar;
    TComboBoxList *fPenBrushLists = nullptr;
    QToolBar *fFigureBar;
    QMenu *fPopup;
    QLabel *fStatus;
};

} // namespace zarno
