#pragma once

#include "model/shape.h"

#include <functional>

namespace zarno {

class TField;

// A shape that draws whatever its function says, with its own pen-brush
// (every attribute applicable). The real shape classes come with the
// constructions; this one lets the surfaces be looked at before them.
class TDemoShape : public TShape
{
public:
    using Drawer = std::function<void(TAbstractImageAdapter &, TPenBrush &)>;

    TDemoShape(TShapetype type, Drawer drawer, bool front = false);

    QString className() const override { return QStringLiteral("TDemoShape"); }
    QString shapetypeString() const override { return QStringLiteral("見本"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("S"); }
    bool isDrawnInFront() const override { return fFront; }
    double rawDistance(const TModelPoint &, const TModelPoint &) const override { return 0; }

protected:
    void drawSelected(const TDrawStatus &, TAbstractImageAdapter &s, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &, TAbstractImageAdapter &s) override;

private:
    Drawer fDrawer;
    bool fFront;
};

// Fills the field with lines, a ray and a segment with their outer parts,
// a circumcircle through three points, arcs, an ellipse, arrows and points,
// at 12 mm per unit.
void buildDemoField(TField &field);

} // namespace zarno
