#pragma once

#include "model/shape.h"

namespace zarno {

// A point: the one shape a user drags. Every kind of point shares it: free
// points, points with formula coordinates, points on curves, the origin of
// the axes and the corners of the output area.
class TShapeDot : public TShape
{
public:
    static TShapeDot *createFreeShapeDot();
    static TShapeDot *createFormulaShapeDot();

    QString className() const override { return QStringLiteral("TShapeDot"); }
    QString shapetypeString() const override { return QStringLiteral("点"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("P"); }

    void setXY(const TModelPoint &p)
    {
        fX = p.x;
        fY = p.y;
    }
    TModelPoint getXY() const { return { fX, fY }; }
    double getX() const { return fX; }
    double getY() const { return fY; }
    void setInitialXY(const TModelPoint &p);

    // A fixed point ignores every move (the origin, the output-area corners).
    bool isFixed() const { return fFixed; }
    void setFixed(bool b) { fFixed = b; }
    bool canMoveAnywhere() const { return fCanMoveAnywhere; }
    // A drag of the shapes built on this point may move it. A coordinate
    // given by a formula takes its value back at the next recalculation, so
    // such a point goes along in its free coordinate only.
    bool isDraggable() const;
    void setCanMoveAnywhere(bool b) { fCanMoveAnywhere = b; }

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    void moveXYOffsetXY(double dx, double dy) override;
    // The user drags this point alone: the cursor is where the mouse is now,
    // the offset how far it moved since the last event.
    void dragTo(const TModelPoint &cursor, const TModelPoint &offset);
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;
    bool isDrawnInFront() const override { return true; }

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb) override;

private:
    TShapeDot();

    bool fFixed = false;
    bool fCanMoveAnywhere = true;
    double fX = 0;
    double fY = 0;
};

} // namespace zarno
