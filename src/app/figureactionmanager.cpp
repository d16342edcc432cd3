#include "app/figureactionmanager.h"

#include "app/icons.h"
#include "app/logic/controller.h"
#include "core/exceptions.h"
#include "model/shapefactory.h"
#include "persist/inifile.h"

#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zarno {

TfrmCustomizeToolbar::TfrmCustomizeToolbar(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("図形ツールボタンの表示設定"));
    auto *layout = new QVBoxLayout(this);
    fVertical = new QCheckBox(QStringLiteral("縦置きにする。"), this);
    fList = new QListWidget(this);
    fList->setIconSize(QSize(32, 32));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(fVertical);
    layout->addWidget(fList, 1);
    layout->addWidget(buttons);
    resize(420, 560);
}

int TfrmCustomizeToolbar::addItem(const QIcon &image, const QString &text)
{
    auto *item = new QListWidgetItem(image, QStringLiteral(" ") + text, fList);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Checked);
    item->setSizeHint(QSize(0, 36));
    return fList->count() - 1;
}

void TfrmCustomizeToolbar::setChecked(int index, bool checked)
{
    fList->item(index)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool TfrmCustomizeToolbar::isChecked(int index) const
{
    return fList->item(index)->checkState() == Qt::Checked;
}

void TfrmCustomizeToolbar::setVertical(bool vertical)
{
    fVertical->setChecked(vertical);
}

bool TfrmCustomizeToolbar::isVertical() const
{
    return fVertical->isChecked();
}

void TFigureActionManager::setUp(QMainWindow &window, QToolBar &toolbar, QMenu &figureMenu,
    const TShapeFactory &factory, TController &controller)
{
    fWindow = &window;
    fToolbar = &toolbar;
    fController = &controller;
    fCustomize = new TfrmCustomizeToolbar(&window);

    const TFigureActionInfo *point = TFigureInfo::find(TFiguretype::FIG_dotOnField);
    fPointTool = new QAction(TIcons::toolIcon(point->id, 32), QStringLiteral("点"), &window);
    fPointTool->setCheckable(true);
    fPointTool->setToolTip(QStringLiteral("フィールド上の点"));
    fPointTool->setObjectName(QStringLiteral("pointTool"));
    fPointItem = fCustomize->addItem(TIcons::toolIcon(point->id, 32), QStringLiteral("点"));
    toolbar.addAction(fPointTool);

    auto makeAction = [&](const TFigureActionInfo &row, int size) {
        auto *a = new QAction(TIcons::toolIcon(row.id, size),
            factory.figureTypeName(row.figureType) + QStringLiteral("(&") + row.menuDigit
                + QLatin1Char(')'),
            &window);
        const TFiguretype type = row.figureType;
        connect(a, &QAction::triggered, this, [this, type] { fController->createFigure(type); });
        return a;
    };

    // Toolbar buttons and menu items, group by group in menu order.
    QList<const TFigureActionInfo *> tools;
    for (int i = 0; i < TFigureInfo::kRowCount; ++i) {
        const TFigureActionInfo &row = TFigureInfo::row(i);
        if (row.hasTool && factory.hasRelation(row.figureType))
            tools.append(&row);
    }
    std::sort(
        tools.begin(), tools.end(), [](auto *a, auto *b) { return a->figureType < b->figureType; });
    for (const QString &group : TFigureInfo::menuGroups()) {
        QMenu *submenu = nullptr;
        bool firstInGroup = true;
        for (const TFigureActionInfo *row : tools) {
            if (row->groupName != group)
                continue;
            if (firstInGroup) {
                toolbar.addSeparator();
                firstInGroup = false;
            }
            QAction *tool = makeAction(*row, 32);
            tool->setToolTip(TFigureInfo::toolbarText(row->guidance));
            tool->setObjectName(row->id);
            toolbar.addAction(tool);
            fToolActions.insert(int(row->figureType), tool);
            if (!submenu) {
                submenu = figureMenu.addMenu(
                    group + QStringLiteral("(&") + row->menuLetter + QLatin1Char(')'));
            }
            QAction *item = makeAction(*row, 16);
            item->setIconVisibleInMenu(true);
            submenu->addAction(item);
            fMenuActions.insert(int(row->figureType), item);
        }
    }
    for (const TFigureActionInfo *row : tools) {
        fItemIndex.insert(int(row->figureType),
            fCustomize->addItem(
                TIcons::toolIcon(row->id, 32), TFigureInfo::toolbarText(row->guidance)));
        // Without settings, the catalog says which buttons show.
        fToolActions.value(int(row->figureType))->setVisible(row->visibleByDefault);
    }
}

void TFigureActionManager::enableFor(const TFiguretypeSet &types)
{
    for (auto it = fToolActions.begin(); it != fToolActions.end(); ++it) {
        const bool on = types.contains(static_cast<TFiguretype>(it.key()));
        it.value()->setEnabled(on);
        fMenuActions.value(it.key())->setEnabled(on);
    }
}

void TFigureActionManager::disableAll()
{
    enableFor({});
}

bool TFigureActionManager::pointToolDown() const
{
    return fPointTool && fPointTool->isChecked();
}

void TFigureActionManager::releasePointTool()
{
    if (fPointTool)
        fPointTool->setChecked(false);
}

bool TFigureActionManager::customise()
{
    fCustomize->setVertical(isToolbarVertical());
    fCustomize->setChecked(fPointItem, fPointTool->isVisible());
    for (auto it = fItemIndex.begin(); it != fItemIndex.end(); ++it)
        fCustomize->setChecked(it.value(), fToolActions.value(it.key())->isVisible());
    if (fCustomize->exec() != QDialog::Accepted)
        return false;
    fPointTool->setVisible(fCustomize->isChecked(fPointItem));
    for (auto it = fItemIndex.begin(); it != fItemIndex.end(); ++it)
        fToolActions.value(it.key())->setVisible(fCustomize->isChecked(it.value()));
    setToolbarVertical(fCustomize->isVertical());
    return true;
}

void TFigureActionManager::readSettings()
{
    if (!TXmlIniFile::isOpen())
        return;
    const TIniHash &ini = TXmlIniFile::getMyRootHash(
        this, QStringLiteral("TFigureActionManager"), QStringLiteral("figureToolbar"));
    // The toolbar stands at the left until the user moves it.
    setToolbarVertical(ini.readBool(QStringLiteral("isVertical"), true));
    fPointTool->setVisible(ini.readBool(QStringLiteral("FIG_dotOnField"), true));
    for (auto it = fToolActions.begin(); it != fToolActions.end(); ++it)
        it.value()->setVisible(ini.readBool(
            TEnumConverter<TFiguretype>::name(TFiguretype(it.key())), it.value()->isVisible()));
}

void TFigureActionManager::writeSettings()
{
    if (!TXmlIniFile::isOpen() || !fToolbar)
        return;
    TIniHash &ini = TXmlIniFile::getMyRootHash(
        this, QStringLiteral("TFigureActionManager"), QStringLiteral("figureToolbar"));
    ini.writeBool(QStringLiteral("isVertical"), isToolbarVertical());
    ini.writeBool(QStringLiteral("FIG_dotOnField"), fPointTool->isVisible());
    // In the figure types' order, so the file reads like the toolbar.
    QList<int> types = fToolActions.keys();
    std::sort(types.begin(), types.end());
    for (int t : types)
        ini.writeBool(
            TEnumConverter<TFiguretype>::name(TFiguretype(t)), fToolActions.value(t)->isVisible());
}

bool TFigureActionManager::isToolbarVertical() const
{
    const Qt::ToolBarArea area = fWindow->toolBarArea(fToolbar);
    if (area == Qt::LeftToolBarArea)
        return true;
    if (area == Qt::TopToolBarArea)
        return false;
    throw ESouteigai(QStringLiteral("TFigureActionManager"),
        QStringLiteral("TAlignの値が間違っています。"),
        QStringLiteral("getFigureToolbarIsVertical"));
}

void TFigureActionManager::setToolbarVertical(bool vertical)
{
    fWindow->addToolBar(vertical ? Qt::LeftToolBarArea : Qt::TopToolBarArea, fToolbar);
    fToolbar->setOrientation(vertical ? Qt::Vertical : Qt::Horizontal);
}

} // namespace zarno
