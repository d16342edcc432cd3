#pragma once

#include "app/logic/abstractcontroller.h"
#include "app/logic/commands.h"
#include "app/logic/mainwindowport.h"
#include "app/logic/undohistory.h"
#include "persist/loadsave.h"

#include <memory>

namespace zarno {

class TAbstractImageAdapter;
class TAutosave;
class TDisplayAdapter;
class TField;
class TGraphicfileFacade;
class TGraphicfileProperty;
struct TExportRectangle;
class TShapePrintArea;
class TModel;
class TShapeFactory;
class TZarnofile;

// Stands between the main window and the model: converts pixel positions to
// model points, decides whether input is accepted, runs the commands and
// the document life cycle, and keeps tools and lists in step with the
// selection.
class TController : public TAbstractController
{
public:
    TController(
        TModel &model, TShapeFactory &factory, TMainWindowPort &window, TDisplayAdapter &screen);
    ~TController() override;

    // TAbstractController
    void setAcceptInput(bool accept) override { fAcceptInput = accept; }
    void configureNearVisitor(TNearVisitor &visitor) override;
    void paint(TDrawStatus &status) override;
    void setStatusText(const QString &text) override { fWindow.setStatusText(text); }
    void updateTools(const TShapeList *selection) override;
    void updateToolsAndList(const TShapeList *selection) override;
    void renumberAndList(const TShapeList *selection) override;
    void disableFigureTools() override { fWindow.disableFigureTools(); }
    void showShapePopup() override { fWindow.showShapePopup(); }

    bool acceptsInput() const { return fAcceptInput; }
    void startUp();
    // Whether the document may be closed: asks to save a changed one.
    bool closeQuery();
    void openDroppedFiles(const QStringList &paths);
    void key(TKeyKind kind, QChar character, unsigned shift, int key);
    void mouse(TMouseKind kind, TMouseButton button, unsigned shift, int x, int y);
    void executeAction(TCommandId commandId, bool checked = false);
    void zoomControl(TZoomControl which, double value);
    void refreshFull();
    void refreshChanged();
    // The display configuration changed: every locus is erased.
    void clearAllTraces();
    void createFigure(TFiguretype figureType);
    // A row of the shape list checked or unchecked: the shape joins or
    // leaves the selection, and the tools follow.
    void addToSelection(TShape *shape);
    void removeFromSelection(TShape *shape);

    void newFile();
    // With an empty name the open dialog asks for the file.
    void openFile(const QString &fileName = QString());
    // A document named from outside (the command line, another start of the
    // program): asks about unsaved changes first, then opens it.
    void openNamedFile(const QString &fileName);
    TLoadSave::Saved saveFile(bool askName);
    // Writes the output area (or the visible field) as an image file at the
    // size chosen in the save dialog. Returns whether a file was written.
    bool saveGraphicfile();
    // Puts the figure that saveGraphicfile would write on the clipboard, as
    // a 300-dpi bitmap and as SVG, at the output area's saved size.
    bool copyFigure();
    // The user chose item of the pen-brush toolbar's list: every selected
    // shape that has that attribute takes it, as one undoable step.
    void choosePenBrushItem(int list, int item);
    TGraphicfileFacade &graphicfile() { return *fGraphicfile; }
    void installDocument(std::unique_ptr<TZarnofile> document);
    void setSurface(TAbstractImageAdapter *surface) { fSurface = surface; }
    TAbstractImageAdapter &surface() { return *fSurface; }
    TField &field();
    TZarnofile &document() { return *fDocument; }

    // Every change of the document can be taken back: each user action
    // (a command, a construction, a press to release of the mouse) that
    // changed it is one step.
    void undo();
    void redo();
    // Makes the edits since the last step one step. The user's actions do
    // it when they end; nothing happens while the mouse button is held.
    void recordEdits();
    const TUndoHistory &history() const { return fHistory; }
    TLoadSave &loadSave() { return fLoadSave; }
    bool isReady() const { return fReady; }

    // Recovery copies of the open document; none without one.
    void setAutosave(TAutosave *autosave);
    // Offers the copies a program that did not end cleanly left behind;
    // returns whether one was restored.
    bool offerRecovery();

private:
    // The output area when it is shown and fits the view, else the visible
    // field with the message that says so; area is the output area if any.
    TExportRectangle rectangleToExport(TShapePrintArea *&area);
    // Draws onto the facade's chosen surface and saves; a file that cannot
    // be written is reported and gives false.
    bool drawChosenImage(const TExportRectangle &rectangle, const TGraphicfileProperty &property);
    // Runs one user action; when the outermost action ends, what it changed
    // becomes one undo step. Edits made outside any action (a window that
    // changed the document by itself) become their own step first.
    template <typename Work> void asOneAction(Work &&work);
    void executeActionNow(TCommandId id, bool checked);
    bool isMouseHeld() const;
    void resetHistory();
    void restoreState(const QByteArray &state);
    void afterRestore();
    void showUndoState();
    // The property command: the axes' dialog for a part of the axes,
    // nothing for the output area, else the shape's own dialog.
    void showProperties();
    // After input that may have changed the document.
    void edited(bool structural);
    void setToggleStates();
    void setTitleFor(const QString &name);
    void takeDocument(std::unique_ptr<TZarnofile> document);

    TModel &fModel;
    TShapeFactory &fFactory;
    TMainWindowPort &fWindow;
    TDisplayAdapter &fScreen;
    TAbstractImageAdapter *fSurface;
    TLoadSave fLoadSave;
    std::unique_ptr<TGraphicfileFacade> fGraphicfile;
    std::unique_ptr<TZarnofile> fDocument;
    TField *fField = nullptr;
    bool fAcceptInput = false;
    bool fReady = false;
    TUndoHistory fHistory;
    int fActionDepth = 0;
    TAutosave *fAutosave = nullptr;
    bool fAutosaveErrorShown = false;
};

} // namespace zarno
