#include "app/mainwindow.h"

#include "app/figureactionmanager.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/menuactionmanager.h"
#include "app/penbrushlists.h"
#include "app/shapelistwindow.h"
#include "app/splash.h"
#include "core/messagedialogs.h"
#include "model/field.h"
#include "render/dpi.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <cmath>

namespace zarno {

namespace {

unsigned shiftFlags(Qt::KeyboardModifiers m)
{
    unsigned f = 0;
    if (m & Qt::ShiftModifier)
        f |= ssShift;
    if (m & Qt::AltModifier)
        f |= ssAlt;
    if (m & Qt::ControlModifier)
        f |= ssCtrl;
    return f;
}

TMouseButton buttonOf(Qt::MouseButton b)
{
    switch (b) {
    case Qt::RightButton: return TMouseButton::mbRight;
    case Qt::MiddleButton: return TMouseButton::mbMiddle;
    default: return TMouseButton::mbLeft;
    }
}

} // namespace

TViewWidget::TViewWidget(QWidget *parent)
    : TBitmapView(parent)
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TViewWidget::forward(TMouseKind kind, QMouseEvent *event)
{
    if (!fController)
        return;
    const QPoint p = event->position().toPoint();
    fController->mouse(
        kind, buttonOf(event->button()), shiftFlags(event->modifiers()), p.x(), p.y());
}

void TViewWidget::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    forward(TMouseKind::mkPress, event);
}

void TViewWidget::mouseMoveEvent(QMouseEvent *event)
{
    forward(TMouseKind::mkMove, event);
}

void TViewWidget::mouseReleaseEvent(QMouseEvent *event)
{
    forward(TMouseKind::mkRelease, event);
    forward(TMouseKind::mkClick, event);
}

void TViewWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    forward(TMouseKind::mkDoubleClick, event);
}

void TViewWidget::keyPressEvent(QKeyEvent *event)
{
    if (fController && event->key() == Qt::Key_Menu)
        fController->key(
            TKeyKind::kkDown, QChar(), shiftFlags(event->modifiers()), kApplicationKey);
    else
        TBitmapView::keyPressEvent(event);
}

void TViewWidget::keyReleaseEvent(QKeyEvent *event)
{
    TBitmapView::keyReleaseEvent(event);
}

void TViewWidget::contextMenuEvent(QContextMenuEvent *event)
{
    // Right presses reach the model as presses; the menu key is handled above.
    event->accept();
}

TZoomSlider::TZoomSlider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    setRange(-120, 120);
    setValue(0);
    setPageStep(40);
    setSingleStep(2);
    setTickInterval(2);
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::ClickFocus);
    if (orientation == Qt::Vertical) {
        // Qt puts a vertical slider's maximum at the top; ours has its
        // minimum there, and the Up key and the wheel move the thumb up.
        setInvertedAppearance(true);
        setInvertedControls(true);
    }
    connect(this, &QSlider::sliderReleased, this, &TZoomSlider::springBack);
}

void TZoomSlider::springBack()
{
    setValue(0);
    if (onRelease)
        onRelease();
}

void TZoomSlider::mouseReleaseEvent(QMouseEvent *event)
{
    // A drag of the thumb springs back through sliderReleased; a click on
    // the groove (a page step) does here.
    QSlider::mouseReleaseEvent(event);
    if (value() != 0)
        springBack();
}

void TZoomSlider::wheelEvent(QWheelEvent *event)
{
    QSlider::wheelEvent(event);
    if (value() != 0)
        springBack();
}

void TZoomSlider::keyPressEvent(QKeyEvent *event)
{
    // Each slider answers only the arrow keys along its own direction.
    const bool horizontalKey = event->key() == Qt::Key_Left || event->key() == Qt::Key_Right;
    const bool verticalKey = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down;
    if ((orientation() == Qt::Horizontal && verticalKey)
        || (orientation() == Qt::Vertical && horizontalKey)) {
        event->ignore();
        return;
    }
    QSlider::keyPressEvent(event);
}

void TZoomSlider::keyReleaseEvent(QKeyEvent *event)
{
    QSlider::keyReleaseEvent(event);
    if (!event->isAutoRepeat() && value() != 0)
        springBack();
}

TRulerWidget::TRulerWidget(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(18);
}

void TRulerWidget::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QColor face = palette().color(QPalette::Button);
    p.fillRect(rect(), face);
    p.setPen(face);
    p.drawLine(0, 0, width(), 0);
    p.setPen(Qt::black);
    QFont font = p.font();
    font.setPixelSize(std::max(6, int(height() * 0.75)));
    p.setFont(font);
    const double c = TDpi::mmToScreenPixelsF(10);
    const int h = height();
    for (int k = 0; (k - 0.5) * c < width(); ++k) {
        const int shortX = int(std::nearbyint((k - 0.5) * c));
        p.drawLine(shortX, int(std::nearbyint(h * 1.75 / 2)), shortX, h);
        const int longX = int(std::nearbyint(k * c));
        p.drawLine(longX, int(std::nearbyint(h * 0.25)), longX, h);
        const QString label = QString::number(k);
        const int w = p.fontMetrics().horizontalAdvance(label);
        p.drawText(longX - w / 2 + (k == 0 ? w / 2 + 2 : 0), p.fontMetrics().ascent(), label);
    }
}

TfrmMain::TfrmMain()
{
    setWindowTitle(QStringLiteral("zarno"));
    setObjectName(QStringLiteral("TfrmMain"));
    QFont f = font();
    f.setPointSize(9);
    setFont(f);
    setAcceptDrops(true);

    auto *base = new QWidget(this);
    auto *grid = new QGridLayout(base);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(0);
    fRuler = new TRulerWidget(base);
    fView = new TViewWidget(base);
    fZoomH = new TZoomSlider(Qt::Horizontal, base);
    fZoomV = new TZoomSlider(Qt::Vertical, base);
    fZoomH->setToolTip(QStringLiteral("縮小 ←→ 拡大"));
    fZoomV->setToolTip(QStringLiteral("拡大\r\n ↑\r\n ↓\r\n縮小"));
    fZoomH->setFixedHeight(18);
    fZoomV->setFixedWidth(18);
    fLink = new QCheckBox(base);
    fLink->setChecked(true);
    fLink->setFixedSize(16, 16);
    fLink->setToolTip(QStringLiteral("拡大縮小時の縦横両方向のリンク"));
    fLink->setFocusPolicy(Qt::NoFocus);
    grid->addWidget(fRuler, 0, 0);
    grid->addWidget(fView, 1, 0);
    grid->addWidget(fZoomV, 0, 1, 2, 1);
    grid->addWidget(fZoomH, 2, 0);
    grid->addWidget(fLink, 2, 1, Qt::AlignCenter);
    grid->setRowStretch(1, 1);
    grid->setColumnStretch(0, 1);
    setCentralWidget(base);
    setRulerVisible(false);

    fCommandBar = addToolBar(QStringLiteral("command"));
    fCommandBar->setObjectName(QStringLiteral("commandToolbar"));
    fCommandBar->setIconSize(QSize(16, 16));
    fCommandBar->setMovable(false);
    fCommandBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    addToolBarBreak();
    fPenBrushBar = addToolBar(QStringLiteral("penBrush"));
    fPenBrushBar->setObjectName(QStringLiteral("penBrushToolbar"));
    fPenBrushBar->setMovable(false);
    fPenBrushBar->setMinimumHeight(26);
    fPenBrushLists = new TComboBoxList(*fPenBrushBar, this);
    fPenBrushLists->chosen = [this](int list, int item) {
        if (fController)
            fController->choosePenBrushItem(list, item);
    };
    fFigureBar = new QToolBar(QStringLiteral("figure"), this);
    fFigureBar->setObjectName(QStringLiteral("figureToolbar"));
    fFigureBar->setIconSize(QSize(32, 32));
    fFigureBar->setMovable(false);
    fFigureBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    fFigureBar->setOrientation(Qt::Vertical);
    fFigureBar->setStyleSheet(QStringLiteral("QToolButton { min-width: 37px; min-height: 36px; }"));
    addToolBar(Qt::LeftToolBarArea, fFigureBar);
    fPopup = new QMenu(this);
    fStatus = new QLabel(this);
    fStatus->setMinimumWidth(200);
    statusBar()->addWidget(fStatus, 1);

    connect(fZoomH, &QSlider::valueChanged, this, [this](int p) { zoomChanged(true, p); });
    connect(fZoomV, &QSlider::valueChanged, this, [this](int p) { zoomChanged(false, p); });
    auto released = [this] {
        const QSignalBlocker h(fZoomH), v(fZoomV);
        fZoomH->setValue(0);
        fZoomV->setValue(0);
        if (fController) {
            fController->zoomControl(TZoomControl::zcBoth, 0);
            fController->refreshChanged();
        }
    };
    fZoomH->onRelease = released;
    fZoomV->onRelease = released;
    // Ctrl+Shift+L anywhere in the window links or unlinks the zoom sliders.
    auto *link = new QAction(this);
    link->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_L));
    link->setShortcutContext(Qt::WindowShortcut);
    connect(link, &QAction::triggered, fLink, &QCheckBox::toggle);
    addAction(link);
    // Loci are drawn in pixels of the display they were made on.
    auto displayChanged = [this] {
        if (fController && fController->isReady())
            fController->clearAllTraces();
    };
    connect(qGuiApp, &QGuiApplication::screenAdded, this, displayChanged);
    connect(qGuiApp, &QGuiApplication::screenRemoved, this, displayChanged);
    connect(qGuiApp, &QGuiApplication::primaryScreenChanged, this, displayChanged);
    resize(1200, 860);
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::setController(TController *controller)
{
    fController = controller;
    fView->setController(controller);
    fView->setResizeHandler([this] {
        if (fController && fController->isReady())
            fController->refreshFull();
    });
}

void TfrmMain::setManagers(TMenuActionManager *menus, TFigureActionManager *tools)
{
    fMenus = menus;
    fTools = tools;
}

void TfrmMain::zoomChanged(bool horizontal, int position)
{
    if (!fController)
        return;
    const double exponent = horizontal ? position / 120.0 : -position / 120.0;
    if (!fLink->isChecked()) {
        fController->zoomControl(
            horizontal ? TZoomControl::zcHorizontal : TZoomControl::zcVertical, exponent);
        return;
    }
    // The other slider shows the mirrored position without zooming itself.
    TZoomSlider *other = horizontal ? fZoomV : fZoomH;
    {
        const QSignalBlocker block(other);
        other->setValue(-position);
    }
    fController->zoomControl(TZoomControl::zcBoth, exponent);
}

void TfrmMain::setRulerVisible(bool visible)
{
    fRuler->setVisible(visible);
}

bool TfrmMain::isRulerVisible() const
{
    return fRuler->isVisible();
}

void TfrmMain::setStatusText(const QString &text)
{
    fStatus->setText(text);
}

void TfrmMain::showShapeList(TField &field, const TShapeList *selection)
{
    if (fShapeList)
        fShapeList->showListAndSelection(field, selection);
}

void TfrmMain::toggleShapeList()
{
    if (!fShapeList || !fMenus)
        return;
    // Beside the right edge of the frame, as tall as it.
    const QRect frame = frameGeometry();
    fShapeList->place(
        fMenus->action(TCommandId::cmdFigureList), frame.right() + 1, frame.height(), frame.top());
}

void TfrmMain::showShapePopup()
{
    fPopup->popup(QCursor::pos());
}

QPoint TfrmMain::cursorInView() const
{
    return fView->mapFromGlobal(QCursor::pos());
}

void TfrmMain::enableFigureTools(const TFiguretypeSet &types)
{
    if (fTools)
        fTools->enableFor(types);
}

void TfrmMain::disableFigureTools()
{
    if (fTools)
        fTools->disableAll();
}

bool TfrmMain::isPointToolDown() const
{
    return fTools && fTools->pointToolDown();
}

void TfrmMain::releasePointTool()
{
    if (fTools)
        fTools->releasePointTool();
}

void TfrmMain::setCommandChecked(TCommandId commandId, bool checked)
{
    if (fMenus)
        fMenus->setChecked(commandId, checked);
}

void TfrmMain::setCommandEnabled(TCommandId commandId, bool enabled)
{
    if (fMenus)
        fMenus->setEnabled(commandId, enabled);
}

void TfrmMain::setSelectionCommands(TPropertyType propertyType, bool canDelete, bool)
{
    if (fMenus)
        fMenus->setPropertyCommands(propertyType, canDelete);
}

void TfrmMain::setupToolbar()
{
    if (fTools)
        fTools->customise();
}

void TfrmMain::showSplash()
{
    TfrmSplash splash(this);
    splash.exec();
}

void TfrmMain::putFigureOnClipboard(const QByteArray &png, const QByteArray &svg)
{
    auto *data = new QMimeData;
    // Programs that take only an image get the bitmap; those that read
    // vector graphics take the SVG, and some take the PNG's own bytes.
    data->setImageData(QImage::fromData(png, "PNG"));
    data->setData(QStringLiteral("image/png"), png);
    data->setData(QStringLiteral("image/svg+xml"), svg);
    QGuiApplication::clipboard()->setMimeData(data);
}

void TfrmMain::showPenBrush(
    const TPenBrush &penBrush, const std::array<TListState, TPenBrushLists::kListCount> &states)
{
    fPenBrushLists->show(penBrush, states);
}

void TfrmMain::openManual()
{
    const QString manual
        = QCoreApplication::applicationDirPath() + QStringLiteral("/zarno_manual.pdf");
    if (!QFileInfo::exists(manual) || !QDesktopServices::openUrl(QUrl::fromLocalFile(manual)))
        showAppMessage(
            QStringLiteral("マニュアル(") + manual + QStringLiteral(")を開くことができません。"),
            TMsgDlgType::mtWarning);
}

void TfrmMain::closeEvent(QCloseEvent *event)
{
    if (fController && !fController->closeQuery())
        event->ignore();
    else
        event->accept();
}

void TfrmMain::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent *event)
{
    QStringList paths;
    for (const QUrl &url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    if (fController)
        fController->openDroppedFiles(paths);
}

} // namespace zarno
