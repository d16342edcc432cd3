#include "app/menuactionmanager.h"

#include "app/icons.h"
#include "app/logic/commands.h"
#include "app/logic/commandtable.h"
#include "app/logic/controller.h"
#include "core/exceptions.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace zarno {

namespace {
const QString kClass = QStringLiteral("TMenuActionManager");
}

QAction *TMenuActionManager::actionNamed(const QString &name) const
{
    const TCommandActionProperty *c = TCommandTable::find(name);
    if (!c)
        throw ESouteigai(kClass, { fmtArg(name) },
            QStringLiteral("メニューに設定するAction(%s)が見つかりません。"),
            QStringLiteral("searchAction"));
    return fActions.value(c->id);
}

void TMenuActionManager::build(
    QMainWindow &window, QMenuBar &menuBar, QToolBar &toolBar, QMenu &popup)
{
    for (const TCommandActionProperty &c : TCommandTable::commands()) {
        auto *a = new QAction(TIcons::icon(c.name + QStringLiteral("16")), c.caption, &window);
        a->setObjectName(c.name);
        a->setCheckable(c.isToggle);
        if (c.alternativeShortcut.key() != Qt::Key_unknown)
            a->setShortcuts({ QKeySequence(c.shortcut), QKeySequence(c.alternativeShortcut) });
        else if (c.shortcut.key() != Qt::Key_unknown)
            a->setShortcut(QKeySequence(c.shortcut));
        a->setShortcutContext(Qt::WindowShortcut);
        a->setToolTip(c.hint.isEmpty() ? TCommandTable::plainCaption(c.caption)
                                       : TCommandTable::tooltipOf(c.hint));
        a->setStatusTip(TCommandTable::statusTipOf(c.hint));
        a->setIconVisibleInMenu(true);
        const TCommandId id = c.id;
        connect(a, &QAction::triggered, this, [this, id](bool checked) {
            if (fController)
                fController->executeAction(id, checked);
        });
        window.addAction(a);
        fActions.insert(id, a);
    }

    QString category;
    for (const TCommandActionProperty &c : TCommandTable::commands()) {
        if (!c.hasToolButton)
            continue;
        if (!category.isEmpty() && c.category != category)
            toolBar.addSeparator();
        category = c.category;
        toolBar.addAction(fActions.value(c.id));
    }

    QHash<QString, QMenu *> menus;
    for (const TMenuProperty &m : TCommandTable::mainMenu()) {
        if (m.parent == QLatin1String("root")) {
            QMenu *menu = menuBar.addMenu(m.caption);
            menu->setObjectName(m.item);
            menus.insert(m.item, menu);
        } else {
            QMenu *parent = menus.value(m.parent);
            parent->addAction(actionNamed(m.action));
        }
    }
    fFigureMenu = menus.value(QStringLiteral("mnuFigure"));
    if (!fFigureMenu)
        throw ESouteigai(kClass, QStringLiteral("メニューfigureが見つかりません。"),
            QStringLiteral("setMainMenuProperty"));
    buildPopup(popup);
}

void TMenuActionManager::buildPopup(QMenu &popup)
{
    for (const TMenuProperty &m : TCommandTable::popupMenu())
        popup.addAction(actionNamed(m.action));
}

void TMenuActionManager::setChecked(TCommandId id, bool checked)
{
    if (QAction *a = fActions.value(id)) {
        const QSignalBlocker block(a);
        a->setChecked(checked);
    }
}

void TMenuActionManager::setAvailable(TCommandId id, bool available)
{
    fAvailable.insert(id, available);
    if (QAction *a = fActions.value(id))
        a->setEnabled(available);
}

void TMenuActionManager::setEnabled(TCommandId id, bool enabled)
{
    if (QAction *a = fActions.value(id))
        a->setEnabled(enabled && fAvailable.value(id, true));
}

void TMenuActionManager::setPropertyCommands(TPropertyType propertyType, bool canDelete)
{
    auto enable = [&](TCommandId id, bool on) {
        if (QAction *a = fActions.value(id))
            a->setEnabled(on && fAvailable.value(id, true));
    };
    enable(TCommandId::cmdFigureProperty,
        propertyType != TPropertyType::None && propertyType != TPropertyType::Tracer);
    enable(TCommandId::cmdDelete, canDelete);
    if (QAction *a = fActions.value(TCommandId::cmdEraseTrace))
        a->setVisible(propertyType == TPropertyType::Tracer);
    enable(TCommandId::cmdEraseTrace, propertyType == TPropertyType::Tracer);
}

} // namespace zarno
