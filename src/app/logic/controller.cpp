#include "app/logic/controller.h"

#include "app/logic/commands.h"
#include "app/logic/model.h"
#include "app/logic/visitors.h"
#include "core/commonprocs.h"
#include "core/messagedialogs.h"
#include "core/scopedassign.h"
#include "labels/labeldialogs.h"
#include "labels/zahyoujiku.h"
#include "model/field.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "render/displayadapter.h"

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
    TLoadSave::Saved result;
    {
        const TScopedAssign locked(fAcceptInput, false, true);
        result = askName ? fLoadSave.saveDocumentAs(*fDocument) : fLoadSave.save(*fDocument);
    }
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
    unsigned flags = shift;
    if (fWindow.isPointToolDown())
        flags |= ssShift | ssCtrl;
    fModel.mouse(kind, button, fSurface->pixelToModel(x, y), flags);
}

void TController::executeAction(TCommandId id, bool checked)
{
    if (!fAcceptInput)
        return;
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
    case TCommandId::cmdFixFieldToggle: fModel.executeToggleCommand(id, checked); break;
    case TCommandId::cmdDelete:
    case TCommandId::cmdScale1_1:
    case TCommandId::cmdCenterGenten:
    case TCommandId::cmdEraseTrace: fModel.executeCommand(id); break;
    default: break;
    }
}

void TController::zoomControl(TZoomControl which, double value)
{
    if (!fAcceptInput)
        return;
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

void TController::createFigure(TFiguretype figureType)
{
    if (!fAcceptInput)
        return;
    fModel.createFigure(figureType);
    fWindow.releasePointTool();
}

} // namespace zarno
