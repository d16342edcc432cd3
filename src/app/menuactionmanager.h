#pragma once

#include "app/logic/commands.h"
#include "model/shape.h"

#include <QHash>
#include <QObject>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;

namespace zarno {

class TController;

// Turns the command table into actions with their captions, hints,
// shortcuts, pictures and checked states; builds the command toolbar, the
// main menu and the shape popup menus; runs executed commands through the
// controller.
class TMenuActionManager : public QObject
{
public:
    explicit TMenuActionManager(QObject *parent = nullptr)
        : QObject(parent)
    { }

    void setController(TController *controller) { fController = controller; }
    void build(QMainWindow &window, QMenuBar &menuBar, QToolBar &toolBar, QMenu &popup);
    // Builds the popup rows into another menu (the shape list window's).
    void buildPopup(QMenu &popup);
    QMenu *figureMenu() const { return fFigureMenu; }
    QAction *action(TCommandId id) const { return fActions.value(id); }
    QAction *actionNamed(const QString &name) const;
    void setChecked(TCommandId id, bool checked);
    // Property is offered for one kind of shape that has a dialog; delete
    // when everything selected may go; erasing a trace for a locus mark.
    void setPropertyCommands(TPropertyType propertyType, bool canDelete);
    // Commands offered only in some states (undo when there is a step).
    void setEnabled(TCommandId id, bool enabled);
    // Commands whose work the program cannot do yet stay visible but disabled.
    void setAvailable(TCommandId id, bool available);

private:
    TController *fController = nullptr;
    QHash<TCommandId, QAction *> fActions;
    QHash<TCommandId, bool> fAvailable;
    QMenu *fFigureMenu = nullptr;
};

} // namespace zarno
