#pragma once

#include <QListWidget>
#include <QWidget>

class QAction;
class QLabel;
class QMenu;
class QPushButton;

namespace zarno {

class TController;
class TField;
class TShape;
class TShapeList;

// The list of the document's listed shapes: each row "#3点 : guidance name"
// with a check mark that follows the selection. Checking a row selects its
// shape through the controller, unchecking deselects it.
class TFormViewShapeList : public QWidget
{
public:
    static constexpr int kMinWidth = 250;

    explicit TFormViewShapeList(QWidget *parent = nullptr);
    ~TFormViewShapeList() override;

    void setController(TController *controller) { fController = controller; }
    QMenu *popupMenu() const { return fPopup; }
    // Rebuilds the rows from the shapes with fView2list set, in list order.
    void showList(const TShapeList &shapes);
    void showListAndSelection(const TShapeList &field, const TShapeList *selection);
    // At left and top with the given height; shown when the command is checked.
    void place(QAction *command, int left, int height, int top);

    QListWidget *list() const { return fList; }
    QPushButton *closeButton() const { return fClose; }
    QLabel *countLabel() const { return fCount; }
    TShape *shapeAt(int row) const;
    int firstColumnWidth() const { return fFirstColumn; }

protected:
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void addRow(TShape *shape);
    void rowChanged(QListWidgetItem *item);
    void showPopup(const QPoint &at);

    TController *fController = nullptr;
    QAction *fCommand = nullptr;
    QLabel *fCount;
    QPushButton *fClose;
    QListWidget *fList;
    QMenu *fPopup;
    int fFirstColumn = 0;
    bool fFilling = false;
};

// Owns the shape list window and keeps its width in the settings.
class TViewShapeListFacade
{
public:
    explicit TViewShapeListFacade(QWidget *mainWindow);
    ~TViewShapeListFacade();
    void setController(TController *controller) { fForm->setController(controller); }
    TFormViewShapeList &form() { return *fForm; }
    QMenu *popupMenu() const { return fForm->popupMenu(); }
    void showListAndSelection(const TShapeList &field, const TShapeList *selection)
    {
        fForm->showListAndSelection(field, selection);
    }
    void place(QAction *command, int left, int height, int top)
    {
        fForm->place(command, left, height, top);
    }

private:
    std::unique_ptr<TFormViewShapeList> fForm;
};

} // namespace zarno
