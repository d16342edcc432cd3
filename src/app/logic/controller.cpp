#include "app/logic/controller.h"

#include "app/logic/commands.h"
#include "app/logic/model.h"
#include "app/logic/visitors.h"
#include "core/commonprocs.h"
#include "core/messagedialogs.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "render/displayadapter.h"
#include "render/field.h"

namespace zarno {

TController::TController(
    TModel &model, TShapeFactory &factory, TMainWindowPort &window, TDisplayAdapter &screen)
    : fModel(model)
    , fFactory(factory)
    , fWindow(window)
    , fScreen(screen)
    , fSurface(&screen)
    , fLoadSave(factory)
{ }

TField &TController::field()
{
    return *fField;
}

void TController::takeDocument(std::unique_ptr<TZarnofile> document)
{
    fDocument = std::move(document);
    fField = &fDocument->field();
    fScreen.setController(fField);
}

TController::~TController()
{
    fAcceptInput = false;
    // The selection refers to shapes of the document freed here.
    fModel.clearSelection();
}

void TController::configureNearVisitor(TNearVisitor &visitor)
{
    visitor.setSurface(fSurface);
}

void TController::paint(TDrawStatus &status)
{
    if (!fReady || !fField)
        return;
    fSurface->prepareDraw();
    fSurface->clear();
    fField->draw(status, *fSurface);
    fSurface->flush();
}

void TController::updateTools(const TShapeList *selection)
{
    if (selection)
        fWindow.enableFigureTools(fFactory.figureTypesFor(*selection));
    else
        fWindow.disableFigureTools();
    const TShape *first = selection && !selection->isEmpty() ? selection->first() : nullptr;
    bool canDelete = first != nullptr;
    int propertyType = first ? int(first->propertyType()) : 0;
    if (selection) {
        for (const TShape *s : selection->items()) {
            canDelete = canDelete && s->canDelete();
            if (int(s->propertyType()) != propertyType)
                propertyType = 0;
        }
        // Several shapes share one dialog only as the axes or the output area.
        if (selection->count() > 1 && propertyType != int(TPropertyType::Zahyoujiku)
            && propertyType != int(TPropertyType::PrintArea))
            propertyType = 0;
    }
    fWindow.setSelectionCommands(propertyType, canDelete, first != nullptr);
}

void TController::updateToolsAndList(const TShapeList *selection)
{
    updateTools(selection);
    if (fField)
        fWindow.showShapeList(*fField, selection);
}

void TController::renumberAndList(const TShapeList *selection)
{
    if (!fField)
        return;
    fField->renumber();
    fWindow.showShapeList(*fField, selection);
}

void TController::startUp()
{
    fScreen.fitToView();
    newFile();
    fReady = true;
    refreshFull();
    fAcceptInput = true;
}

void TController::setTitleFor(const QString &name)
{
    fWindow.setTitle(QStringLiteral("zarno - ") + name);
}

void TController::setToggleStates()
{
    fWindow.setCommandChecked(cmdZahyoujikuToggle, fField->isAxesShown());
    fWindow.setCommandChecked(cmdPrintAreaToggle, fField->isPrintAreaShown());
    fWindow.setCommandChecked(cmdFixFieldToggle, fField->getFFixField());
}

void TController::newFile()
{
    fWindow.disableFigureTools();
    fAcceptInput = false;
    fModel.clearSelection();
    // The old document goes once the new one is in place.
    std::unique_ptr<TZarnofile> old = std::move(fDocument);
    takeDocument(std::make_unique<TZarnofile>(std::make_unique<TField>()));
    fModel.newDocument(*fField);
    old.reset();
    fWindow.showShapeList(*fField, nullptr);
    fReady = true;
    refreshFull();
    fModel.setField(*fField);
    setToggleStates();
    fAcceptInput = true;
    setTitleFor(QString());
    fDocument->clearChanged();
}

void TController::installDocument(std::unique_ptr<TZarnofile> document)
{
    // A document that could not be read leaves the current one in place,
    // unsaved changes and all.
    const bool installed = document != nullptr;
    std::unique_ptr<TZarnofile> old;
    if (installed) {
        old = std::move(fDocument);
        takeDocument(std::move(document));
    }
    fModel.setField(*fField);
    old.reset();
    setToggleStates();
    fAcceptInput = true;
    fWindow.showShapeList(*fField, &fModel.getSelection());
    setTitleFor(fDocument->isNamed() ? fDocument->documentFileNameOnly() : QString());
    refreshFull();
    if (installed)
        fDocument->clearChanged();
}

void TController::openFile(const QString &fileName)
{
    fWindow.disableFigureTools();
    fAcceptInput = false;
    fModel.clearSelection();
    installDocument(
        fileName.isEmpty() ? fLoadSave.openDocument() : fLoadSave.loadDocument(fileName));
}

void TController::openNamedFile(const QString &fileName)
{
    // An empty name would ask through the file dialog instead.
    if (!fileName.isEmpty() && closeQuery())
        openFile(fileName);
}

TLoadSave::Saved TController::saveFile(bool askName)
{
    fAcceptInput = false;
    const TLoadSave::Saved result
        = askName ? fLoadSave.saveDocumentAs(*fDocument) : fLoadSave.save(*fDocument);
    fAcceptInput = true;
    // A failed save leaves the document marked changed.
    if (result == TLoadSave::Saved::Written) {
        setTitleFor(fDocument->documentFileNameOnly());
        fDocument->clearChanged();
    }
    return result;
}

bool TController::closeQuery()
{
    if (!fField || !fField->isChanged())
        return true;
    for (;;) {
        switch (askAppMessage(QStringLiteral("変更を保存しますか。"),
            QStringLiteral("zarnoファイルを保存"), mbYes | mbNo | mbCancel,
            TMsgDlgType::mtWarning)) {
        case TModalResult::mrYes:
            if (saveFile(false) == TLoadSave::Saved::Written)
                return true;
            break; // cancelled or failed: nothing is lost yet, ask again
        case TModalResult::mrNo: return true;
        default: return false;
        }
    }
}

void TController::openDroppedFiles(const QStringList &paths)
{
    const TResult_GetOnlyOneMatchedFile found
        = TCommonProcs::oneMatchedFile(QStringLiteral(".znt"), paths);
    auto refuse = [&](const QString &text) {
        if (TMessageDialogs *d = TMessageDialogs::current())
            d->showMessage(text, QStringLiteral("zarno"), TMsgDlgType::mtError);
    };
    if (found.state == 0)
        refuse(QStringLiteral("zarnoで開くことのできるファイルではありません。"));
    else if (found.state == 2)
        refuse(QStringLiteral("一度に2つ以上のファイルを開くことはできません。"));
    else if (closeQuery())
        openFile(found.fileName);
}

void TController::key(int kind, QChar character, unsigned, int keyValue)
{
    if (!fAcceptInput)
        return;
    const bool application
        = (kind == 2 && character.unicode() == 93) || ((kind == 0 || kind == 1) && keyValue == 93);
    if (!application)
        return;
    const QPoint p = fWindow.cursorInView();
    fModel.mouse(mkPress, mbRight, fSurface->pixelToModel(p.x(), p.y()), 0);
}

void TController::mouse(int kind, int button, unsigned shift, int x, int y)
{
    if (!fAcceptInput || !fField)
        return;
    if (kind == mkMove && !fSurface->isInView(x, y))
        return;
    unsigned flags = shift;
    if (fWindow.isPointToolDown())
        flags |= ssShift | ssCtrl;
    fModel.mouse(kind, button, fSurface->pixelToModel(x, y), flags);
}

void TController::executeAction(int id, bool checked)
{
    if (!fAcceptInput)
        return;
    switch (id) {
    case cmdNewFile:
        if (closeQuery())
            newFile();
        break;
    case cmdOpen:
        if (closeQuery())
            openFile();
        break;
    case cmdSaveAs: saveFile(true); break;
    case cmdSave: saveFile(false); break;
    case cmdExit: fWindow.closeMainWindow(); break;
    case cmdHelpContents: fWindow.openManual(); break;
    case cmdSplash: fWindow.showSplash(); break;
    case cmdFigureProperty:
        if (!fModel.getSelection().isEmpty()) {
            fReady = false;
            try {
                fModel.getSelection().first()->setupProperty();
            } catch (...) {
                fReady = true;
                throw;
            }
            fReady = true;
            refreshChanged();
        }
        break;
    case cmdFigureList: fWindow.toggleShapeList(); break;
    case cmdPreviewToggle:
        fScreen.FPreview = checked ? 1 : 0;
        fModel.redraw();
        break;
    case cmdViewScaleToggle:
        fWindow.showScaleBar(checked);
        refreshFull();
        break;
    case cmdSetupToolbar: fWindow.setupToolbar(); break;
    case cmdPrintAreaToggle:
    case cmdZahyoujikuToggle:
    case cmdFixFieldToggle: fModel.executeToggleCommand(id, checked); break;
    case cmdDelete:
    case cmdScale1_1:
    case cmdCenterGenten:
    case cmdEraseTrace: fModel.executeCommand(id); break;
    default: break;
    }
}

void TController::zoomControl(int which, double value)
{
    if (!fAcceptInput)
        return;
    const TModelPoint exponents = which == 0 ? TModelPoint { value, value }
        : which == 1                         ? TModelPoint { value, 0 }
                                             : TModelPoint { 0, value };
    fModel.zoom(exponents);
}

void TController::refreshFull()
{
    fScreen.fitToView();
    fModel.setDrawStatusAndRedraw(3);
}

void TController::refreshChanged()
{
    fModel.setDrawStatusAndRedraw(5);
}

void TController::createFigure(TFiguretype figureType)
{
    if (!fAcceptInput)
        return;
    fModel.createFigure(figureType);
    fWindow.releasePointTool();
}

} // namespace zarno
