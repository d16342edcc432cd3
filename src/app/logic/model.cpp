#include "app/logic/model.h"

#include "app/logic/abstractcontroller.h"
#include "app/logic/commands.h"
#include "app/logic/visitors.h"
#include "core/appinfo.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "model/field.h"
#include "model/printareagroup.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"

#include <cmath>

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TModel");

bool isPrintAreaPart(const TShape *s)
{
    const TFiguretype t = s->getFigureType();
    return t == TFiguretype::FIG_printAreaDot || t == TFiguretype::FIG_printAreaSenbun;
}

// Builds one of the initial groups of a new document; anything unexpected
// while doing so ends the program with the boundary's name.
TShapeStore createInitialGroup(
    const TShapeFactory &factory, TFiguretype type, const QString &boundary)
{
    try {
        return factory.create(type, TShapeList());
    } catch (const EMyException &) {
        throw;
    } catch (const std::exception &e) {
        throw EMyFatalException(
            QStringLiteral("TShapeFactory"), QString::fromUtf8(e.what()), boundary);
    }
}

} // namespace

TModel::~TModel()
{
    fSelection.deselectAndClear();
}

void TModel::newDocument(TField &field)
{
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
    fController->disableFigureTools();
    fController->setAcceptInput(false);
    fField = &field;
    fSelection.deselectAndClear();
    for (auto [type, boundary] :
        { std::pair { TFiguretype::FIG_zahyoujiku, QStringLiteral("createInitialZahyoujiku") },
            std::pair { TFiguretype::FIG_printArea, QStringLiteral("createInitialPrintArea") } }) {
        // Each group comes when its construction exists in the program.
        if (!fFactory->hasRelation(type))
            continue;
        TShapeStore group = createInitialGroup(*fFactory, type, boundary);
        fField->takeAllFrom(group);
    }
    fField->setAxesShown(false);
    fField->setPrintAreaShown(false);
    refreshSelectionState();
    fField->setPrintAreaShown(false);
    fController->updateTools(nullptr);
    fReady = true;
}

void TModel::setField(TField &field)
{
    fField = &field;
    fSelection.deselectAndClear();
    refreshSelectionState();
    // A document read or restored brings its loci: drawn as a changed document.
    fDrawStatus.value = TCurrentDrawStatus::DocumentChanged;
    redrawAndUpdateTools();
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
    fReady = true;
}

void TModel::clearSelection()
{
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
    fDragReference = { 0, 0 };
    fSelection.deselectAndClear();
}

void TModel::redraw()
{
    if (!fField)
        return;
    // No input reaches the model while it draws, also when drawing fails.
    struct InputLock
    {
        TAbstractController &controller;
        explicit InputLock(TAbstractController &c)
            : controller(c)
        {
            controller.setAcceptInput(false);
        }
        ~InputLock() { controller.setAcceptInput(true); }
    } lock(*fController);
    fController->paint(fDrawStatus);
}

void TModel::redrawAndUpdateTools()
{
    redraw();
    fController->updateTools(&fSelection);
}

void TModel::redrawAndUpdateAll()
{
    redraw();
    fController->updateToolsAndList(&fSelection);
}

void TModel::refreshSelectionState()
{
    fController->renumberAndList(&fSelection);
}

void TModel::select(TShape *shape)
{
    if (!fSelection.contains(shape))
        fSelection.add(shape);
    shape->setFSelected(true);
}

void TModel::createFigure(TFiguretype figureType)
{
    TShapeStore built = fFactory->create(figureType, fSelection);
    if (built.isEmpty())
        return;
    fSelection.deselectAndClear();
    const QList<TShape *> made = built.items();
    fField->takeAllFrom(built);
    for (TShape *s : made)
        select(s);
    refreshSelectionState();
    redrawAndUpdateAll();
}

void TModel::deleteSelected()
{
    if (fSelection.isEmpty())
        return;
    if (fSelection.anyHasChild()
        && askAppMessage(QStringLiteral("選択された形には子図形があります。\r\n全部削除しますか？"),
               TAppInfo::caption(), mbYes | mbNo, TMsgDlgType::mtConfirmation)
            != TModalResult::mrYes)
        return;
    fSelection.markForDelete();
    fSelection.deselectAndClear();
    fField->sweepMarked();
    fDrawStatus.value = TCurrentDrawStatus::DocumentChanged;
    redrawAndUpdateAll();
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
}

void TModel::eraseTrace()
{
    if (fSelection.isEmpty() || fSelection.first()->shapeType() != TShapetype::SHAPE_tracer)
        return;
    fSelection.first()->clearTrace();
    // An ordinary redraw: one as a changed document would record the traced
    // shape where it stands, and the erased locus would begin again before
    // anything moved. The trace layer draws the other loci again by itself.
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
    redraw();
}

void TModel::clearAllTraces()
{
    if (!fField)
        return;
    for (TShape *s : fField->items())
        s->clearTrace();
}

void TModel::mouse(TMouseKind kind, TMouseButton button, const TModelPoint &point, unsigned flags)
{
    if (!fField)
        return;
    switch (kind) {
    case TMouseKind::mkPress:
        // Only the left button drags; the popup of a right press takes its release.
        if (button == TMouseButton::mbLeft) {
            fMouseStatus = TMouseStatus::msPressed;
            mouseLeftDown(point, flags);
        } else if (button == TMouseButton::mbRight) {
            mouseRightDown(point, flags);
        }
        break;
    case TMouseKind::mkMove:
        if (fReady)
            mouseMove(point);
        break;
    case TMouseKind::mkRelease:
        fReady = true;
        fMouseStatus = TMouseStatus::msUp;
        fDrawStatus.value = TCurrentDrawStatus::DocumentChanged;
        redraw();
        fDrawStatus.value = TCurrentDrawStatus::Ordinary;
        break;
    default: break;
    }
}

void TModel::mouseLeftDown(const TModelPoint &point, unsigned flags)
{
    TNearVisitor near(point);
    fController->configureNearVisitor(near);
    fField->acceptVisitor(near);
    if (flags & ssCtrl) {
        if (!(flags & ssShift))
            fSelection.deselectAndClear();
        fReady = false;
        mouseLeftDown_drawShapeDot(point, near.candidates());
        refreshSelectionState();
    } else {
        TShape *nearest = near.nearest();
        if (!nearest) {
            fSelection.deselectAndClear();
        } else if (!nearest->getFSelected()) {
            if (!(flags & ssShift))
                fSelection.deselectAndClear();
            if (nearest->getFigureType() == TFiguretype::FIG_printAreaSenbun && printArea())
                printArea()->selectEdges(fSelection);
            else
                select(nearest);
        }
    }
    fDragReference = point;
    redrawAndUpdateAll();
}

void TModel::mouseLeftDown_drawShapeDot(const TModelPoint &point, const TShapeList &near)
{
    const bool pointNear = !near.isEmpty() && near.first()->shapeType() == TShapetype::SHAPE_dot;
    if (pointNear || near.count() >= 2)
        return;
    const TFiguretype type = TShapeFactory::pointFigureTypeFor(near);
    if (!fFactory->hasRelation(type))
        return; // points on this kind of curve come with its construction
    TShapeStore built = fFactory->create(type, near);
    if (built.isEmpty())
        throw ESouteigai(kClass, { fmtArg(TEnumConverter<TFiguretype>::name(type)) },
            QStringLiteral("figure(%s)が作れませんでした。"),
            QStringLiteral("mouseLeftDown_drawShapeDot"));
    auto *dot = static_cast<TShapeDot *>(built.first());
    dot->setInitialXY(point);
    fField->add(built.take(dot));
    select(dot);
}

void TModel::mouseRightDown(const TModelPoint &point, unsigned flags)
{
    if (flags & ssCtrl)
        return;
    TNearVisitor near(point);
    fController->configureNearVisitor(near);
    fField->acceptVisitor(near);
    if (near.nearest() && near.nearest()->getFSelected())
        fController->showShapePopup();
    else
        fSelection.deselectAndClear();
    redrawAndUpdateAll();
}

void TModel::mouseMove(const TModelPoint &point)
{
    if (fMouseStatus == TMouseStatus::msPressed)
        fMouseStatus = TMouseStatus::msDragging;
    else if (fMouseStatus == TMouseStatus::msUp)
        fMouseStatus = TMouseStatus::msMoving;
    fController->setStatusText(QStringLiteral("( ") + QString::number(point.x, 'f', 2)
        + QStringLiteral(", ") + QString::number(point.y, 'f', 2) + QStringLiteral(" )"));
    if (fMouseStatus != TMouseStatus::msDragging)
        return;

    const TModelPoint offset { point.x - fDragReference.x, point.y - fDragReference.y };
    const int n = fSelection.count();
    bool keepReference = false;
    auto allPrintAreaParts = [&] {
        for (const TShape *s : fSelection.items())
            if (!isPrintAreaPart(s))
                return false;
        return n > 0;
    };
    if (n == 0) {
        if (fField->getFFixField())
            return;
        // The model point under the cursor stays under it.
        fDrawStatus.value = TCurrentDrawStatus::Scrolling;
        fField->moveCentre(fDragReference.x - point.x, fDragReference.y - point.y);
        fField->setModified(QStringLiteral("model.mouseMove"));
        keepReference = true;
    } else if (n == 1 && fSelection.first()->getFigureType() == TFiguretype::FIG_printAreaDot) {
        TShape *corner = fSelection.first();
        corner->moveXYOffsetXY(offset.x, offset.y);
        if (printArea())
            printArea()->followCorner(*corner);
    } else if (allPrintAreaParts()) {
        if (printArea())
            printArea()->moveBy(offset);
    } else if (n == 1 && fSelection.first()->shapeType() == TShapetype::SHAPE_dot) {
        fDrawStatus.value = TCurrentDrawStatus::Dragging;
        auto *dot = static_cast<TShapeDot *>(fSelection.first());
        if (fField->getFFixField() || dot->getFigureType() != TFiguretype::FIG_genten) {
            // Through its relation: a point on a curve slides along it under the cursor.
            dot->dragTo(point, offset);
        } else {
            // Dragging the origin brings the model origin under the cursor.
            fField->moveCentre(-point.x, -point.y);
            fField->setModified(QStringLiteral("model.mouseMove"));
        }
    } else if (n == 1 && fSelection.first()->shapeType() == TShapetype::SHAPE_writing) {
        fDrawStatus.value = TCurrentDrawStatus::Dragging;
        fSelection.first()->moveXYOffsetXY(offset.x, offset.y);
    } else {
        fDrawStatus.value = TCurrentDrawStatus::Dragging;
        dragSelection(offset);
    }
    redraw();
    if (!keepReference)
        fDragReference = point;
}

void TModel::dragSelection(const TModelPoint &offset)
{
    for (const TShape *s : fSelection.items()) {
        const TShapetype t = s->shapeType();
        if (t == TShapetype::SHAPE_paint || t == TShapetype::SHAPE_tracer || isPrintAreaPart(s))
            return;
    }
    TRootDotVisitor roots;
    roots.visitList(fSelection);
    for (const TShape *s : roots.dots().items())
        if (!static_cast<const TShapeDot *>(s)->isDraggable())
            return;
    for (TShape *s : roots.dots().items())
        s->moveXYOffsetXY(offset.x, offset.y);
}

TPrintAreaGroup *TModel::printArea() const
{
    return fField ? dynamic_cast<TPrintAreaGroup *>(fField->printArea()) : nullptr;
}

void TModel::addToSelection(TShape *shape)
{
    if (shape->getFSelected())
        return;
    select(shape);
    redrawAndUpdateTools();
}

void TModel::removeFromSelection(TShape *shape)
{
    if (!shape->getFSelected())
        return;
    fSelection.remove(shape);
    shape->setFSelected(false);
    redrawAndUpdateTools();
}

void TModel::applyPenBrush(const TPenBrush &source)
{
    for (TShape *s : fSelection.items()) {
        s->copyPenBrushFrom(source);
        s->changed();
    }
    fDrawStatus.value = TCurrentDrawStatus::DocumentChanged;
    redraw();
    fDrawStatus.value = TCurrentDrawStatus::Ordinary;
}

void TModel::setDrawStatusAndRedraw(TCurrentDrawStatus status)
{
    fDrawStatus.value = status;
    redraw();
}

void TModel::executeCommand(TCommandId id)
{
    switch (id) {
    case TCommandId::cmdDelete:
        deleteSelected();
        refreshSelectionState();
        break;
    case TCommandId::cmdScale1_1:
        fField->scale1_1();
        redraw();
        break;
    case TCommandId::cmdCenterGenten:
        fField->centerGenten();
        redraw();
        break;
    case TCommandId::cmdEraseTrace: eraseTrace(); break;
    default: return;
    }
    fField->setModified(QStringLiteral("model.executeCommand"));
}

void TModel::executeToggleCommand(TCommandId id, bool checked)
{
    switch (id) {
    case TCommandId::cmdPrintAreaToggle:
        fField->setPrintAreaShown(checked);
        redraw();
        break;
    case TCommandId::cmdZahyoujikuToggle:
        fField->setAxesShown(checked);
        redraw();
        break;
    case TCommandId::cmdFixFieldToggle: fField->setFFixField(checked); break;
    default: return;
    }
    fField->setModified(QStringLiteral("model.executeToggleCommand"));
}

void TModel::zoom(const TModelPoint &exponents)
{
    if (!fField)
        return;
    if (fField->zoomBySliders(exponents)) {
        fDrawStatus.value = TCurrentDrawStatus::ZoomStep;
        redraw();
    }
}

void TModel::exportBegin()
{
    for (TShape *s : fSelection.items())
        s->setFSelected(false);
    if (printArea())
        printArea()->hideForExport();
}

void TModel::exportEnd()
{
    if (printArea())
        printArea()->restoreAfterExport();
    for (TShape *s : fSelection.items())
        s->setFSelected(true);
}

void TModel::pushMmPerModel(const TModelPoint &value, const TModelPoint &centre)
{
    if (!(value.x > 0 && value.y > 0))
        throw ESouteigai(kClass, QStringLiteral("値は0より大きい実数でなければなりません。"),
            QStringLiteral("pushMmPerModel1"));
    fField->pushMmPerModel1(value, centre);
}

void TModel::popMmPerModel()
{
    fField->popMmPerModel1();
}

} // namespace zarno
