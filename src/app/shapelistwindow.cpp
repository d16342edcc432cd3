#include "app/shapelistwindow.h"

#include "app/logic/controller.h"
#include "model/shape.h"
#include "model/shapelist.h"
#include "persist/inifile.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

namespace zarno {

namespace {

constexpr int kShapeRole = Qt::UserRole;
constexpr int kNumberRole = Qt::UserRole + 1;
constexpr int kNameRole = Qt::UserRole + 2;

QString separatorAndName(const TShape &shape)
{
    return QStringLiteral(" : ") + shape.guidanceName();
}

// Draws the number and kind ("#3点") and the guidance name in two columns,
// so that the names line up whatever the numbers' widths.
class TShapeRowDelegate : public QStyledItemDelegate
{
public:
    TShapeRowDelegate(const TFormViewShapeList &form, QObject *parent)
        : QStyledItemDelegate(parent)
        , fForm(form)
    { }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
        const QModelIndex &index) const override
    {
        QStyleOptionViewItem opt = option;
        initStyleOption(&opt, index);
        opt.text.clear();
        const QWidget *widget = option.widget;
        QStyle *style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);
        const QRect text = style ? style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget)
                                 : option.rect;
        painter->save();
        painter->setPen(opt.palette.color(
            opt.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(text.adjusted(2, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
            index.data(kNumberRole).toString());
        // The separator on its own: drawn together with a Japanese name it
        // would take that name's font and push the name off the column.
        const QString name = index.data(kNameRole).toString();
        const QString separator = QStringLiteral(" : ");
        const int at = fForm.firstColumnWidth() + 4;
        painter->drawText(text.adjusted(at, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, separator);
        painter->drawText(
            text.adjusted(at + painter->fontMetrics().horizontalAdvance(separator), 0, 0, 0),
            Qt::AlignVCenter | Qt::AlignLeft, name.mid(separator.size()));
        painter->restore();
    }

private:
    const TFormViewShapeList &fForm;
};

QRect workAreaOf(const QWidget &w)
{
    QScreen *screen = QGuiApplication::screenAt(w.geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

} // namespace

TFormViewShapeList::TFormViewShapeList(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::Tool)
{
    setWindowTitle(QStringLiteral("図形リスト"));
    setMinimumWidth(kMinWidth);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto *top = new QHBoxLayout;
    top->setContentsMargins(6, 4, 6, 4);
    fCount = new QLabel(this);
    fClose = new QPushButton(QStringLiteral("閉じる"), this);
    top->addWidget(fCount, 1);
    top->addWidget(fClose);
    layout->addLayout(top);
    fList = new QListWidget(this);
    fList->setItemDelegate(new TShapeRowDelegate(*this, fList));
    fList->setSelectionMode(QAbstractItemView::NoSelection);
    fList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QPalette p = fList->palette();
    p.setColor(QPalette::Base, QColor(0xfd, 0xfa, 0xe8)); // 15268861 as the platform reads it
    fList->setPalette(p);
    fList->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(fList, 1);
    fPopup = new QMenu(this);
    connect(fClose, &QPushButton::clicked, this, [this] { hide(); });
    connect(fList, &QListWidget::itemChanged, this,
        [this](QListWidgetItem *item) { rowChanged(item); });
    connect(fList, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (!(QGuiApplication::keyboardModifiers() & Qt::ControlModifier))
            showPopup(fList->viewport()->mapToGlobal(at));
    });
    resize(kMinWidth, 400);
}

TFormViewShapeList::~TFormViewShapeList() = default;

TShape *TFormViewShapeList::shapeAt(int row) const
{
    QListWidgetItem *item = fList->item(row);
    return item ? static_cast<TShape *>(item->data(kShapeRole).value<void *>()) : nullptr;
}

void TFormViewShapeList::addRow(TShape *shape)
{
    const QString number = shape->noAndShapetypeString();
    const QString name = separatorAndName(*shape);
    auto *item = new QListWidgetItem(shape->shapetypeString() + name);
    item->setData(kShapeRole, QVariant::fromValue(static_cast<void *>(shape)));
    item->setData(kNumberRole, number);
    item->setData(kNameRole, name);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    const QFontMetrics metrics(fList->font());
    fFirstColumn = std::max(fFirstColumn, metrics.horizontalAdvance(number));
    // Wide enough for the longest row, so that it scrolls instead of clipping.
    item->setSizeHint(
        QSize(fFirstColumn + metrics.horizontalAdvance(name) + 25 + 24, metrics.height() + 4));
    fList->addItem(item);
}

void TFormViewShapeList::showList(const TShapeList &shapes)
{
    const bool filling = fFilling;
    fFilling = true;
    fList->clear();
    fFirstColumn = 0;
    for (TShape *s : shapes.items())
        if (s->getFView2list())
            addRow(s);
    fCount->setText(QStringLiteral("%1 個").arg(fList->count()));
    fFilling = filling;
    fList->viewport()->update();
}

void TFormViewShapeList::showListAndSelection(const TShapeList &field, const TShapeList *selection)
{
    fFilling = true;
    showList(field);
    if (selection)
        for (int i = 0; i < fList->count(); ++i)
            if (selection->contains(shapeAt(i)))
                fList->item(i)->setCheckState(Qt::Checked);
    fFilling = false;
}

void TFormViewShapeList::rowChanged(QListWidgetItem *item)
{
    if (fFilling || !fController)
        return;
    TShape *shape = static_cast<TShape *>(item->data(kShapeRole).value<void *>());
    if (item->checkState() == Qt::Checked)
        fController->addToSelection(shape);
    else
        fController->removeFromSelection(shape);
}

void TFormViewShapeList::showPopup(const QPoint &at)
{
    if (!fPopup->isEmpty())
        fPopup->popup(at);
}

void TFormViewShapeList::place(QAction *command, int left, int height, int top)
{
    fCommand = command;
    if (!command || !command->isChecked()) {
        hide();
        return;
    }
    int width = kMinWidth;
    if (TXmlIniFile::isOpen())
        width = std::max(kMinWidth,
            TXmlIniFile::formPositionAndSize(QStringLiteral("viewShapeList"))
                .readInteger(QStringLiteral("width"), kMinWidth));
    // move() places the frame, as the main window's edge is measured.
    resize(width, height);
    move(left, top);
    // The frame is known once shown.
    show();
    // Inside the work area's right edge: narrower first, then further left.
    const QRect area = workAreaOf(*this);
    if (area.isValid() && frameGeometry().right() > area.right()) {
        const int over = frameGeometry().right() - area.right();
        resize(std::max(kMinWidth, width - over), height);
        const int still = frameGeometry().right() - area.right();
        if (still > 0)
            move(left - still, top);
    }
}

void TFormViewShapeList::hideEvent(QHideEvent *event)
{
    if (TXmlIniFile::isOpen())
        TXmlIniFile::formPositionAndSize(QStringLiteral("viewShapeList"))
            .writeInteger(QStringLiteral("width"), width());
    if (fCommand && fCommand->isChecked())
        fCommand->setChecked(false);
    QWidget::hideEvent(event);
}

void TFormViewShapeList::closeEvent(QCloseEvent *event)
{
    event->accept();
    hide();
}

// A tool window of the main window: it stays above it and does not keep the
// program running once the main window is closed. The facade goes before
// the main window, so the form is never freed twice.
TViewShapeListFacade::TViewShapeListFacade(QWidget *mainWindow)
    : fForm(std::make_unique<TFormViewShapeList>(mainWindow))
{ }

TViewShapeListFacade::~TViewShapeListFacade()
{
    if (TXmlIniFile::isOpen())
        TXmlIniFile::formPositionAndSize(QStringLiteral("viewShapeList"))
            .writeInteger(QStringLiteral("width"), fForm->width());
}

} // namespace zarno
