#include "app/logic/controller.h"

#include "app/logic/autosave.h"
#include "app/logic/commands.h"
#include "app/logic/model.h"
#include "app/logic/visitors.h"
#include "core/appinfo.h"
#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "core/scopedassign.h"
#include "labels/labeldialogs.h"
#include "labels/zahyoujiku.h"
#include "model/field.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "render/displayadapter.h"
#include "render/graphicexport.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"

#include <QFileInfo>

namespace zarno {

TController::TController(
    TModel &model, TShapeFactory &factory, TMainWindowPort &window, TDisplayAdapter &screen)
    : fModel(model)
    , fFactory(factory)
    , fWindow(window)
    , fScreen(screen)
    , fSurface(&screen)
    , fLoadSave(factory)
    , fGraphicfile(std::make_unique<TGraphicfileFacade>())
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
    // A new or opened document starts clean: the copy of the last one goes.
    if (fAutosave) {
        fAutosave->setDocument(fDocument.get());
        fAutosave->documentClean();
    }
}

void TController::setAutosave(TAutosave *autosave)
{
    fAutosave = autosave;
    if (fAutosave)
        fAutosave->setDocument(fDocument.get());
}

void TController::edited(bool structural)
{
    if (!fAutosave)
        return;
    fAutosave->edited(structural);
    // A copy that cannot be written is said once; the work itself goes on.
    const QString error = fAutosave->takeWriteError();
    if (!error.isEmpty() && !fAutosaveErrorShown) {
        fAutosaveErrorShown = true;
        showCaptionedMessage(error, QStringLiteral("自動保存"), TMsgDlgType::mtWarning);
    }
}

bool TController::offerRecovery()
{
    if (!fAutosave)
        return false;
    for (const TRecoveryCopy &copy : fAutosave->orphans()) {
        const QString name = copy.originalName.isEmpty() ? QStringLiteral("(名前のない図)")
                                                         : QFileInfo(copy.originalName).fileName();
        const QString text
            = QStringLiteral("前回正常に終了しなかったときの図があります。復元しますか？\r\n")
            + name + QStringLiteral("  ")
            + copy.written.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
        if (askAppMessage(text, TAppInfo::caption(), mbYes | mbNo, TMsgDlgType::mtConfirmation)
            != TModalResult::mrYes) {
            fAutosave->moveAside(copy, QStringLiteral("discarded"));
            continue;
        }
        std::unique_ptr<TZarnofile> document;
        try {
            document = TFileReader(copy.documentPath, fFactory).read();
        } catch (const EZarnoBase &e) {
            // Never opened: set aside where it harms nothing.
            fAutosave->moveAside(copy, QStringLiteral("damaged"));
            showCaptionedMessage(e.message(), TAppInfo::caption(), TMsgDlgType::mtError);
            continue;
        }
        if (!copy.originalName.isEmpty())
            document->setDocumentName(copy.originalName);
        fWindow.disableFigureTools();
        fAcceptInput = false;
        fModel.clearSelection();
        installDocument(std::move(document));
        // Restored work is not saved work.
        fField->setModified(QStringLiteral("controller.offerRecovery"));
        fAutosave->adopt(copy);
        return true;
    }
    return false;
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
    TPropertyType propertyType = first ? first->propertyType() : TPropertyType::None;
    if (selection) {
        for (const TShape *s : selection->items()) {
            canDelete = canDelete && s->canDelete();
            if (s->propertyType() != propertyType)
                propertyType = TPropertyType::None;
        }
        // Several shapes share one dialog only as the axes or the output area.
        if (selection->count() > 1 && propertyType != TPropertyType::Zahyoujiku
            && propertyType != TPropertyType::PrintArea)
            propertyType = TPropertyType::None;
    }
    fWindow.setSelectionCommands(propertyType, canDelete, first != nullptr);
    const TGatheredPenBrush gathered = gatherPenBrush(selection);
    fWindow.showPenBrush(*gathered.penBrush, gathered.states);
}

void TController::choosePenBrushItem(int list, int item)
{
    if (!fAcceptInput || !fField)
        return;
    if (fAutosave)
        fAutosave->interrupt();
    // Only the chosen attribute, and only to the shapes that have it.
    asOneAction([&] {
        TPenBrush scratch;
        TPenBrushLists::applyTo(list, item, scratch);
        fModel.applyPenBrush(scratch);
    });
    updateTools(&fModel.getSelection());
    edited(false);
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
    fWindow.setCommandChecked(TCommandId::cmdZahyoujikuToggle, fField->isAxesShown());
    fWindow.setCommandChecked(TCommandId::cmdPrintAreaToggle, fField->isPrintAreaShown());
    fWindow.setCommandChecked(TCommandId::cmdFixFieldToggle, fField->getFFixField());
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
    resetHistory();
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
    if (installed) {
        fDocument->clearChanged();
        resetHistory();
    }
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
    // The state written is the one the history stands at, unless a drag is
    // under way.
    const bool recorded = !isMouseHeld();
    recordEdits();
    TLoadSave::Saved result;
    {
        const TScopedAssign locked(fAcceptInput, false, true);
        result = askName ? fLoadSave.saveDocumentAs(*fDocument) : fLoadSave.save(*fDocument);
    }
    // A failed save leaves the document marked changed.
    if (result == TLoadSave::Saved::Written) {
        setTitleFor(fDocument->documentFileNameOnly());
        fDocument->clearChanged();
        if (recorded)
            fHistory.markSaved();
        else
            fHistory.forgetSaved();
        if (fAutosave)
            fAutosave->documentClean();
    }
    return result;
}

TExportRectangle TController::rectangleToExport(TShapePrintArea *&area)
{
    fScreen.prepareDraw();
    area = dynamic_cast<TShapePrintArea *>(fField->printArea());
    const TExportRectangle rectangle = exportRectangle(fScreen, area);
    if (rectangle.areaOutsideView)
        showAppMessage(areaOutsideViewMessage(), TMsgDlgType::mtInformation);
    return rectangle;
}

bool TController::saveGraphicfile()
{
    if (!fField)
        return false;
    const TScopedAssign locked(fAcceptInput, false, true);
    TShapePrintArea *area = nullptr;
    const TExportRectangle rectangle = rectangleToExport(area);
    TGraphicfileParameter parameter;
    parameter.fileName = fDocument->imagePath();
    if (area)
        parameter.property = area->property();
    if (!fGraphicfile->askParameters(parameter, rectangle.model))
        return false;
    if (area) {
        const TGraphicfileProperty &old = area->property();
        const TGraphicfileProperty &now = parameter.property;
        if (old.scaleType != now.scaleType || old.boxSizeMm != now.boxSizeMm
            || old.hAxe1_mm != now.hAxe1_mm || old.fontScaleType != now.fontScaleType) {
            area->property() = now;
            fField->setModified(QStringLiteral("controller.saveGraphicfile"));
        }
    }
    fDocument->setImagePath(parameter.fileName);
    fLoadSave.rememberImageFolder(parameter.fileName);
    return drawChosenImage(rectangle, parameter.property);
}

bool TController::drawChosenImage(
    const TExportRectangle &rectangle, const TGraphicfileProperty &property)
{
    bool written = false;
    try {
        const TExportScope exporting(fModel);
        const TScopedAssign current(fSurface,
            static_cast<TAbstractImageAdapter *>(fGraphicfile->surface()),
            static_cast<TAbstractImageAdapter *>(&fScreen));
        drawAndSaveGraphicfile(*fField, *fGraphicfile, rectangle, property);
        written = true;
    } catch (const EFileStreamError &e) {
        fGraphicfile->finish();
        fScreen.prepareDraw();
        showAppMessage(e.message(), TMsgDlgType::mtError);
    } catch (const EZarnoBase &) {
        fGraphicfile->finish();
        fScreen.prepareDraw();
        refreshChanged();
        throw;
    } catch (const std::exception &e) {
        fGraphicfile->finish();
        fScreen.prepareDraw();
        refreshChanged();
        throw EMyFatalException(QStringLiteral("TController"), QString::fromUtf8(e.what()),
            QStringLiteral("saveGraphicfile"));
    }
    fScreen.prepareDraw();
    refreshChanged();
    return written;
}

bool TController::copyFigure()
{
    if (!fField)
        return false;
    const TScopedAssign locked(fAcceptInput, false, true);
    TShapePrintArea *area = nullptr;
    const TExportRectangle rectangle = rectangleToExport(area);
    const TGraphicfileProperty property = area ? area->property() : TGraphicfileProperty();
    // The same drawing twice: a 300-dpi bitmap for every program, and SVG
    // for those that take vector graphics.
    QByteArray images[2];
    const QString extensions[2] = { QStringLiteral(".png"), QStringLiteral(".svg") };
    for (int i = 0; i < 2; ++i) {
        fGraphicfile->chooseInMemory(extensions[i]);
        TGraphicfileAdapter *surface = fGraphicfile->surface();
        if (!drawChosenImage(rectangle, property))
            return false;
        images[i] = surface->takeBytes();
    }
    fWindow.putFigureOnClipboard(images[0], images[1]);
    return true;
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
        showCaptionedMessage(text, QStringLiteral("zarno"), TMsgDlgType::mtError);
    };
    if (found.state == TMatchedFileState::None)
        refuse(QStringLiteral("zarnoで開くことのできるファイルではありません。"));
    else if (found.state == TMatchedFileState::Several)
        refuse(QStringLiteral("一度に2つ以上のファイルを開くことはできません。"));
    else if (closeQuery())
        openFile(found.fileName);
}

void TController::key(TKeyKind kind, QChar character, unsigned, int keyValue)
{
    if (!fAcceptInput)
        return;
    const bool application
        = (kind == TKeyKind::kkCharacter && character.unicode() == kApplicationKey)
        || ((kind == TKeyKind::kkDown || kind == TKeyKind::kkUp) && keyValue == kApplicationKey);
    if (!application)
        return;
    const QPoint p = fWindow.cursorInView();
    fModel.mouse(
        TMouseKind::mkPress, TMouseButton::mbRight, fSurface->pixelToModel(p.x(), p.y()), 0);
}

void TController::mouse(TMouseKind kind, TMouseButton button, unsigned shift, int x, int y)
{
    if (!fAcceptInput || !fField)
        return;
    if (kind == TMouseKind::mkMove && !fSurface->isInView(x, y))
        return;
    if (kind == TMouseKind::mkDoubleClick) {
        // The first click selected the point: the second opens its
        // coordinates, as the property command does.
        const TShapeList &selection = fModel.getSelection();
        if (button == TMouseButton::mbLeft && selection.count() == 1
            && selection.first()->propertyType() == TPropertyType::DotCoordinates)
            executeAction(TCommandId::cmdFigureProperty);
        return;
    }
    unsigned flags = shift;
    if (fWindow.isPointToolDown())
        flags |= ssShift | ssCtrl;
    // A snapshot is never taken while a drag moves the figure.
    if (fAutosave
        && (kind == TMouseKind::mkPress
            || (kind == TMouseKind::mkMove && fModel.mouseStatus() != TMouseStatus::msUp
                && fModel.mouseStatus() != TMouseStatus::msMoving)))
        fAutosave->interrupt();
    asOneAction([&] { fModel.mouse(kind, button, fSurface->pixelToModel(x, y), flags); });
    if (kind == TMouseKind::mkPress && (flags & ssCtrl))
        edited(true); // a new point
    else if (kind == TMouseKind::mkRelease)
        edited(false); // the end of a drag
}

void TController::executeAction(TCommandId id, bool checked)
{
    if (!fAcceptInput)
        return;
    if (fAutosave)
        fAutosave->interrupt();
    asOneAction([&] { executeActionNow(id, checked); });
}

void TController::executeActionNow(TCommandId id, bool checked)
{
    switch (id) {
    case TCommandId::cmdNewFile:
        if (closeQuery())
            newFile();
        break;
    case TCommandId::cmdOpen:
        if (closeQuery())
            openFile();
        break;
    case TCommandId::cmdSaveAs: saveFile(true); break;
    case TCommandId::cmdSave: saveFile(false); break;
    case TCommandId::cmdSaveGraphicfile: saveGraphicfile(); break;
    case TCommandId::cmdCopyFigure: copyFigure(); break;
    case TCommandId::cmdExit: fWindow.closeMainWindow(); break;
    case TCommandId::cmdHelpContents: fWindow.openManual(); break;
    case TCommandId::cmdSplash: fWindow.showSplash(); break;
    case TCommandId::cmdFigureProperty:
        if (!fModel.getSelection().isEmpty()) {
            {
                const TScopedAssign notReady(fReady, false, true);
                showProperties();
            }
            refreshChanged();
        }
        break;
    case TCommandId::cmdFigureList: fWindow.toggleShapeList(); break;
    case TCommandId::cmdPreviewToggle:
        fScreen.FPreview = checked ? 1 : 0;
        fModel.redraw();
        break;
    case TCommandId::cmdViewScaleToggle:
        fWindow.showScaleBar(checked);
        refreshFull();
        break;
    case TCommandId::cmdSetupToolbar: fWindow.setupToolbar(); break;
    case TCommandId::cmdPrintAreaToggle:
    case TCommandId::cmdZahyoujikuToggle:
    case TCommandId::cmdFixFieldToggle:
        fModel.executeToggleCommand(id, checked);
        // The check marks show what the document holds now.
        setToggleStates();
        break;
    case TCommandId::cmdDelete:
    case TCommandId::cmdScale1_1:
    case TCommandId::cmdCenterGenten:
    case TCommandId::cmdEraseTrace: fModel.executeCommand(id); break;
    case TCommandId::cmdUndo: undo(); break;
    case TCommandId::cmdRedo: redo(); break;
    default: break;
    }
    edited(id == TCommandId::cmdDelete);
}

void TController::zoomControl(TZoomControl which, double value)
{
    if (!fAcceptInput)
        return;
    if (fAutosave)
        fAutosave->interrupt(); // the scale is saved with the document
    const TModelPoint exponents = which == TZoomControl::zcBoth ? TModelPoint { value, value }
        : which == TZoomControl::zcHorizontal                   ? TModelPoint { value, 0 }
                                                                : TModelPoint { 0, value };
    fModel.zoom(exponents);
}

void TController::refreshFull()
{
    fScreen.fitToView();
    fModel.setDrawStatusAndRedraw(TCurrentDrawStatus::FullRefresh);
}

void TController::showProperties()
{
    TShape *first = fModel.getSelection().first();
    switch (first->propertyType()) {
    case TPropertyType::Zahyoujiku:
        // Any part of the axes opens the dialog of the axes as a whole.
        if (auto *axes = dynamic_cast<TShapeZahyoujiku *>(fField->axes())) {
            axes->linkNameLabels();
            if (TZahyoujikuDialogFacade::edit(axes->property())) {
                axes->refreshNameLabels();
                axes->changed();
            }
        }
        break;
    case TPropertyType::PrintArea: break; // the export dialog edits the area
    default: first->setupProperty(); break;
    }
}

void TController::refreshChanged()
{
    fModel.setDrawStatusAndRedraw(TCurrentDrawStatus::DocumentChanged);
}

void TController::clearAllTraces()
{
    if (!fReady || !fField)
        return;
    fModel.clearAllTraces();
    fModel.setDrawStatusAndRedraw(TCurrentDrawStatus::Ordinary);
}

void TController::createFigure(TFiguretype figureType)
{
    if (!fAcceptInput)
        return;
    if (fAutosave)
        fAutosave->interrupt();
    asOneAction([&] { fModel.createFigure(figureType); });
    fWindow.releasePointTool();
    edited(true);
}

void TController::addToSelection(TShape *shape)
{
    if (!fAcceptInput || !fField || !fField->contains(shape))
        return;
    fModel.addToSelection(shape);
}

void TController::removeFromSelection(TShape *shape)
{
    if (!fAcceptInput || !fField || !fField->contains(shape))
        return;
    fModel.removeFromSelection(shape);
}

template <typename Work> void TController::asOneAction(Work &&work)
{
    if (fActionDepth == 0)
        recordEdits();
    {
        const TScopedAssign nested(fActionDepth, fActionDepth + 1, fActionDepth);
        work();
    }
    if (fActionDepth == 0)
        recordEdits();
}

bool TController::isMouseHeld() const
{
    return fModel.mouseStatus() == TMouseStatus::msPressed
        || fModel.mouseStatus() == TMouseStatus::msDragging;
}

void TController::recordEdits()
{
    // A drag is one step, recorded when the button comes up.
    if (!fDocument || isMouseHeld() || !fField->takeEdits())
        return;
    if (fHistory.record(TDocumentWriter::state(*fDocument)))
        showUndoState();
}

void TController::resetHistory()
{
    fField->takeEdits();
    fHistory.reset(TDocumentWriter::state(*fDocument));
    showUndoState();
}

void TController::showUndoState()
{
    fWindow.setCommandEnabled(TCommandId::cmdUndo, fHistory.canUndo());
    fWindow.setCommandEnabled(TCommandId::cmdRedo, fHistory.canRedo());
}

void TController::undo()
{
    if (isMouseHeld())
        return;
    recordEdits();
    if (!fHistory.undo([this](const QByteArray &state) { restoreState(state); }))
        return;
    afterRestore();
}

void TController::redo()
{
    if (isMouseHeld())
        return;
    recordEdits();
    if (!fHistory.redo([this](const QByteArray &state) { restoreState(state); }))
        return;
    afterRestore();
}

void TController::restoreState(const QByteArray &state)
{
    // Read first: should that fail, the document on screen stays as it is.
    std::unique_ptr<TZarnofile> restored
        = TFileReader(fDocument->documentFileName(), fFactory).readState(state);
    restored->field().takeViewFrom(*fField);
    fWindow.disableFigureTools();
    const TScopedAssign locked(fAcceptInput, false, true);
    fModel.clearSelection();
    fDocument->swapField(*restored);
    fField = &fDocument->field();
    fScreen.setController(fField);
    fModel.setField(*fField);
    // The earlier field goes once nothing refers to its shapes any more.
    restored.reset();
    setToggleStates();
    fWindow.showShapeList(*fField, &fModel.getSelection());
}

void TController::afterRestore()
{
    // Back at the state in the file the document is unchanged again.
    if (fHistory.isAtSavedState())
        fDocument->clearChanged();
    else
        fField->setModified(QStringLiteral("controller.undo"));
    fField->takeEdits();
    showUndoState();
}

} // namespace zarno
