#pragma once

#include "core/figurecatalog.h"
#include "model/shape.h"

#include <QString>

namespace zarno {

class TNearVisitor;
class TShapeList;

// What the model asks of the controller: input switching, surfaces for hit
// testing and drawing, and the refresh of tools and lists.
class TAbstractController
{
public:
    virtual ~TAbstractController() = default;
    virtual void setAcceptInput(bool accept) = 0;
    virtual void configureNearVisitor(TNearVisitor &visitor) = 0;
    // Draws the field on the current surface with the drawing state.
    virtual void paint(TDrawStatus &status) = 0;
    virtual void setStatusText(const QString &text) = 0;
    // Enables the figure tools for the selection; nullptr disables them.
    virtual void updateTools(const TShapeList *selection) = 0;
    virtual void updateToolsAndList(const TShapeList *selection) = 0;
    virtual void renumberAndList(const TShapeList *selection) = 0;
    virtual void disableFigureTools() = 0;
    virtual void showShapePopup() = 0;
};

} // namespace zarno
