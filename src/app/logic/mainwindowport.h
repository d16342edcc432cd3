#pragma once

#include "app/logic/commands.h"
#include "app/logic/selectionproperties.h"
#include "core/figurecatalog.h"
#include "model/shape.h"

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace zarno {

class TField;
class TShapeList;

// What the controller asks of the main window. The Qt main window fills it;
// tests record the calls.
class TMainWindowPort
{
public:
    virtual ~TMainWindowPort() = default;
    virtual void setStatusText(const QString &text) = 0;
    virtual void setTitle(const QString &title) = 0;
    virtual void showShapePopup() = 0;
    // The cursor relative to the view, in pixels.
    virtual QPoint cursorInView() const = 0;
    virtual void enableFigureTools(const TFiguretypeSet &types) = 0;
    virtual void disableFigureTools() = 0;
    virtual bool isPointToolDown() const = 0;
    virtual void releasePointTool() = 0;
    virtual void setCommandChecked(TCommandId commandId, bool checked) = 0;
    // Commands offered only in some states (undo when there is a step).
    virtual void setCommandEnabled(TCommandId, bool) { }
    // The pen-brush toolbar: the selection's attributes and what each list
    // shows.
    virtual void showPenBrush(
        const TPenBrush &penBrush, const std::array<TListState, TPenBrushLists::kListCount> &states)
        = 0;
    // The copied figure as a 300-dpi PNG and as SVG.
    virtual void putFigureOnClipboard(const QByteArray &png, const QByteArray &svg) = 0;
    virtual void setSelectionCommands(TPropertyType propertyType, bool canDelete, bool anySelected)
        = 0;
    virtual void showShapeList(TField &field, const TShapeList *selection) = 0;
    virtual void toggleShapeList() = 0;
    virtual void showScaleBar(bool shown) = 0;
    virtual void setupToolbar() = 0;
    virtual void showSplash() = 0;
    virtual void openManual() = 0;
    virtual void closeMainWindow() = 0;
};

} // namespace zarno
