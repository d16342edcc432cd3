#pragma once

#include "core/valuetypes.h"

#include <QList>

namespace zarno {

class TShape;
class TShapeList;

// What the interaction needs of the image output area: its parts are dragged
// and selected as a group, and hidden around an export.
class TPrintAreaGroup
{
public:
    // Four corners and four edges.
    static constexpr int kPartCount = 8;

    virtual ~TPrintAreaGroup() = default;
    // Whether the area knows its parts; an area read from a document learns
    // them from the field.
    virtual bool hasParts() const = 0;
    virtual void adoptParts(const QList<TShape *> &parts) = 0;
    // Keeps the area rectangular after one corner moved.
    virtual void followCorner(TShape &corner) = 0;
    virtual void moveBy(const TModelPoint &offset) = 0;
    // Selecting one edge selects all four.
    virtual void selectEdges(TShapeList &selection) = 0;
    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
    virtual void hideForExport() = 0;
    virtual void restoreAfterExport() = 0;
};

} // namespace zarno
