#pragma once

#include "app/logic/commands.h"
#include "core/figurecatalog.h"
#include "core/valuetypes.h"
#include "model/shape.h"
#include "model/shapelist.h"

namespace zarno {

class TAbstractController;
class TField;
class TPenBrush;
class TPrintAreaGroup;
class TShapeFactory;

// The mouse as the model follows it: a move turns Up into Moving and
// Pressed into Dragging.
enum class TMouseStatus : quint8 { msUp = 0, msPressed = 1, msMoving = 2, msDragging = 3 };

// The document-side half of the interaction: the selection and the mouse,
// point creation, drags and scrolling, constructions from the selection,
// deletion and the commands that change the document or the view.
class TModel
{
public:
    TModel() = default;
    ~TModel();
    TModel(const TModel &) = delete;
    TModel &operator=(const TModel &) = delete;

    void setFactory(TShapeFactory *factory) { fFactory = factory; }
    void setController(TAbstractController *controller) { fController = controller; }

    void newDocument(TField &field);
    void setField(TField &field);
    TField *getField() const { return fField; }
    const TShapeList &getSelection() const { return fSelection; }

    void clearSelection();
    void redraw();
    void redrawAndUpdateTools();
    void redrawAndUpdateAll();
    void refreshSelectionState();

    void createFigure(TFiguretype figureType);
    void deleteSelected();
    void eraseTrace();
    void clearAllTraces();

    // flags: the shift state (TShiftFlag bits; Shift and Ctrl count here).
    void mouse(TMouseKind kind, TMouseButton button, const TModelPoint &point, unsigned flags);
    void addToSelection(TShape *shape);
    void removeFromSelection(TShape *shape);
    void applyPenBrush(const TPenBrush &source);
    void setDrawStatusAndRedraw(TCurrentDrawStatus status);
    void executeCommand(TCommandId id);
    void executeToggleCommand(TCommandId id, bool checked);
    // Zoom exponents from the zoom controls; the scale changes by 4 to the
    // power of each step.
    void zoom(const TModelPoint &exponents);
    void exportBegin();
    void exportEnd();
    void pushMmPerModel(const TModelPoint &value, const TModelPoint &centre);
    void popMmPerModel();

    TCurrentDrawStatus drawStatus() const { return fDrawStatus.value; }
    TMouseStatus mouseStatus() const { return fMouseStatus; }
    bool isReady() const { return fReady; }
    TModelPoint dragReference() const { return fDragReference; }

private:
    void mouseLeftDown(const TModelPoint &point, unsigned flags);
    void mouseRightDown(const TModelPoint &point, unsigned flags);
    void mouseMove(const TModelPoint &point);
    void mouseLeftDown_drawShapeDot(const TModelPoint &point, const TShapeList &near);
    void dragSelection(const TModelPoint &offset);
    TPrintAreaGroup *printArea() const;
    void select(TShape *shape);

    TMouseStatus fMouseStatus = TMouseStatus::msUp;
    TDrawStatus fDrawStatus;
    TModelPoint fDragReference;
    TField *fField = nullptr;
    TShapeFactory *fFactory = nullptr;
    TShapeList fSelection;
    TAbstractController *fController = nullptr;
    bool fReady = false;
};

// An export's edit-only hiding as a guard: the selection is unmarked and the
// output area hidden for the life of the guard, and everything comes back
// when it goes, also after a failed export.
class TExportScope
{
public:
    explicit TExportScope(TModel &model)
        : fModel(model)
    {
        fModel.exportBegin();
    }
    ~TExportScope() { fModel.exportEnd(); }
    TExportScope(const TExportScope &) = delete;
    TExportScope &operator=(const TExportScope &) = delete;

private:
    TModel &fModel;
};

// A scale pushed for an export at an exact size, popped when the guard goes.
class TPushedModelScale
{
public:
    TPushedModelScale(TModel &model, const TModelPoint &mmPerModel, const TModelPoint &centre)
        : fModel(model)
    {
        fModel.pushMmPerModel(mmPerModel, centre);
    }
    ~TPushedModelScale() { fModel.popMmPerModel(); }
    TPushedModelScale(const TPushedModelScale &) = delete;
    TPushedModelScale &operator=(const TPushedModelScale &) = delete;

private:
    TModel &fModel;
};

} // namespace zarno
