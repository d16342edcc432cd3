#pragma once

#include "core/figurecatalog.h"

#include <QDialog>
#include <QHash>
#include <QObject>

class QAction;
class QCheckBox;
class QListWidget;
class QMenu;
class QToolBar;
class QMainWindow;

namespace zarno {

class TController;
class TShapeFactory;

// The window in which the user chooses which figure tool buttons show.
class TfrmCustomizeToolbar : public QDialog
{
public:
    explicit TfrmCustomizeToolbar(QWidget *parent = nullptr);
    int addItem(const QIcon &image, const QString &text);
    void setChecked(int index, bool checked);
    bool isChecked(int index) const;
    void setVertical(bool vertical);
    bool isVertical() const;
    QListWidget *list() const { return fList; }

private:
    QCheckBox *fVertical;
    QListWidget *fList;
};

// One tool per construction of the catalog that has one: a toolbar button
// and a figure-menu item, enabled exactly when the selection makes the
// construction; plus the point tool that makes points by clicking.
class TFigureActionManager : public QObject
{
public:
    explicit TFigureActionManager(QObject *parent = nullptr)
        : QObject(parent)
    { }

    void setUp(QMainWindow &window, QToolBar &toolbar, QMenu &figureMenu,
        const TShapeFactory &factory, TController &controller);
    void enableFor(const TFiguretypeSet &types);
    void disableAll();
    bool pointToolDown() const;
    void releasePointTool();
    // Runs the customisation window; true when the user confirmed.
    bool customise();
    // The toolbar's side and the tools shown, kept in the settings
    // (figureToolbar); nothing happens while no settings file is open.
    void readSettings();
    void writeSettings();
    bool isToolbarVertical() const;
    void setToolbarVertical(bool vertical);

    QAction *toolAction(TFiguretype type) const { return fToolActions.value(int(type)); }
    QAction *menuAction(TFiguretype type) const { return fMenuActions.value(int(type)); }
    QAction *pointTool() const { return fPointTool; }
    TfrmCustomizeToolbar *customizeWindow() const { return fCustomize; }

private:
    QMainWindow *fWindow = nullptr;
    QToolBar *fToolbar = nullptr;
    TController *fController = nullptr;
    QHash<int, QAction *> fToolActions;
    QHash<int, QAction *> fMenuActions;
    QHash<int, int> fItemIndex;
    QAction *fPointTool = nullptr;
    int fPointItem = -1;
    TfrmCustomizeToolbar *fCustomize = nullptr;
};

} // namespace zarno
