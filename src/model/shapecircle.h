#pragma once

#include "model/geometry/mathdaen.h"
#include "model/geometry/mathen.h"
#include "model/shape.h"

namespace zarno {

// A full circle or an arc.
class TShapeCircle : public TShape
{
public:
    TShapeCircle();

    QString className() const override { return QStringLiteral("TShapeCircle"); }
    QString shapetypeString() const override { return QStringLiteral("円"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("C"); }

    void setCentreRadius(const TModelPoint &centre, double r)
    {
        fCircle.setCentreRadius(TMathZahyo(centre), r);
    }
    TModelPoint getCentre() const { return fCircle.centrePair(); }
    double centreX() const { return fCircle.centre.x; }
    double centreY() const { return fCircle.centre.y; }
    double radius() const { return fCircle.radius; }
    TMathZahyo anchorPoint() const { return fCircle.anchorPoint(); }
    bool isInArc(const TModelPoint &p) const { return fCircle.isInArc(TMathZahyo(p)); }
    void setBoundaryPointFrom(int i, double x, double y) { fCircle.setBoundaryPointFrom(i, x, y); }
    void setCircleKind(TBoundaryType type);
    TMathEn &circle() { return fCircle; }
    const TMathEn &circle() const { return fCircle; }

    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb) override;

private:
    TMathEn fCircle;
};

// An ellipse with axes parallel to the coordinate axes.
class TShapeEllipse : public TShape
{
public:
    TShapeEllipse();

    QString className() const override { return QStringLiteral("TShapeEllipse"); }
    QString shapetypeString() const override { return QStringLiteral("楕円"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("E"); }

    bool setBy3Points(const TModelPoint &centre, const TModelPoint &p1, const TModelPoint &p2)
    {
        return fEllipse.setBy3Points(TMathZahyo(centre), TMathZahyo(p1), TMathZahyo(p2));
    }
    TMathZahyo anchorPoint() const { return fEllipse.anchorPoint(); }
    double centreX() const { return fEllipse.centreX(); }
    double centreY() const { return fEllipse.centreY(); }
    double majorAxis() const { return 2 * fEllipse.semiAxisX; }
    double minorAxis() const { return 2 * fEllipse.semiAxisY; }
    TMathZahyo focus1() const { return fEllipse.focus1(); }
    TMathZahyo focus2() const { return fEllipse.focus2(); }
    TMathDaen &ellipse() { return fEllipse; }
    const TMathDaen &ellipse() const { return fEllipse; }

    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void drawBoundaryLine(TAbstractImageAdapter &surface, TPenBrush &pb) override;

private:
    TMathDaen fEllipse;
};

} // namespace zarno
