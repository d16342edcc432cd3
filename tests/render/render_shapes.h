#pragma once

// Shapes for drawing tests: each draws whatever its function says through
// the surface, with its own pen-brush (every attribute applicable).

#include "core/exceptions.h"
#include "model/relation.h"
#include "model/shape.h"
#include "render/dpi.h"

#include <functional>

namespace zarno::test {

class PaintShape : public TShape
{
public:
    using Drawer = std::function<void(TAbstractImageAdapter &, TPenBrush &)>;

    PaintShape(TShapetype type, Drawer drawer, bool front = false)
        : TShape(type)
        , fDrawer(std::move(drawer))
        , fFront(front)
    {
        TPenBrush::States all;
        all.fill(TPenBrushState::pbSelect);
        penBrush().setStates(all);
        penBrush().setBrushStyle(TBrushStyle::bsClear);
    }

    QString className() const override { return QStringLiteral("TPaintShape"); }
    QString shapetypeString() const override { return QStringLiteral("図形"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("S"); }
    bool isDrawnInFront() const override { return fFront; }
    double rawDistance(const TModelPoint &, const TModelPoint &) const override { return 0; }

protected:
    void drawSelected(const TDrawStatus &, TAbstractImageAdapter &s, TPenBrush &pb) override
    {
        fDrawer(s, pb);
    }
    void drawNormal(const TDrawStatus &, TAbstractImageAdapter &s) override
    {
        fDrawer(s, penBrush());
    }

private:
    Drawer fDrawer;
    bool fFront;
};

// A relation that only carries a figure type (the field remembers the axes
// and the output area by it).
class FigureOnly : public TParents2Children
{
public:
    using TParents2Children::TParents2Children;
    QString className() const override { return QStringLiteral("TFigureOnly"); }
    const TRelationClass &relationClass() const override
    {
        throw ESouteigai(className(), QStringLiteral("relationClass"));
    }
    bool calcChildren(TAbstractImageAdapter *) override { return true; }
};

// The screen values, restored after each test that changes them.
struct ScreenDpi
{
    ScreenDpi() { TDpi::useScreenResolution(); }
    ~ScreenDpi()
    {
        TDpi::useScreenResolution();
        TDpi::setFontScale(1.0);
    }
};

} // namespace zarno::test
