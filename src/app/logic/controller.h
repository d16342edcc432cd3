#pragma once

#include "app/logic/abstractcontroller.h"
#include "app/logic/commands.h"
#include "app/logic/mainwindowport.h"
#include "persist/loadsave.h"

#include <memory>

namespace zarno {

class TAbstractImageAdapter;
class TAutosave;
class TDisplayAdapter;
class TField;
class TGraphicfileFacade;
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
    void createFigure(TFiguretype figureType);

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
    TGraphicfileFacade &graphicfile() { return *fGraphicfile; }
    void installDocument(std::unique_ptr<TZarnofile> document);
    void setSurface(TAbstractImageAdapter *surface) { fSurface = surface; }
    TAbstractImageAdapter &surface() { return *fSurface; }
    TField &field();
    TZarnofile &document() { return *fDocument; }
    TLoadSave &loadSave() { return fLoadSave; }
    bool isReady() const { return fReady; }

    // Recovery copies of the open document; none without one.
    void setAutosave(TAutosave *autosave);
    // Offers the copies a program that did not end cleanly left behind;
    // returns whether one was restored.
    bool offerRecovery();

private:
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
    TAutosave *fAutosave = nullptr;
    bool fAutosaveErrorShown = false;
};

} // namespace zarno
