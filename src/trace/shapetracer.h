#pragma once

#include "model/relation.h"
#include "model/shape.h"
#include "trace/tracers.h"

#include <memory>

namespace zarno {

class TBitmap;
class TParentSomething2tracer;

// A locus mark: a small icon standing on the traced shape. Its locus is
// what its relation's tracer recorded; it is drawn on the trace layer and
// laid over the figure after every shape. The records are kept in the
// document after the mark's own state.
class TShapeTracer : public TShape
{
public:
    // The icon's size in pixels; its bottom-left corner is the mark position.
    static constexpr int kIconWidth = 18;
    static constexpr int kIconHeight = 20;

    TShapeTracer();
    ~TShapeTracer() override;

    QString className() const override { return QStringLiteral("TShapeTracer"); }
    QString shapetypeString() const override { return QStringLiteral("軌跡マーク"); }
    QString alphabetShapetypeString() const override { return QStringLiteral("T"); }

    void setMarkPosition(const TModelPoint &p) { fMarkPosition = p; }
    TModelPoint markPosition() const { return fMarkPosition; }
    // The icon's extent in model units, (0, 0, w, −h), as last drawn.
    const TModelViewRect &markExtent() const { return fMarkExtent; }
    // Frees every record and blanks the layer; the other loci draw again
    // at the next redraw.
    void eraseTrace();
    void clearTrace() override { eraseTrace(); }
    TParentSomething2tracer *tracerRelation() const;

    void beforeDraw(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void afterDraw(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    void saveInfo(TAbstractFileWriter &writer) const override;
    void loadInfo(TAbstractXmlNode &node) override;
    double rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const override;

    // The two icons, drawn from the program's SVG pictures when first needed.
    static const TBitmap &icon(bool selected);

protected:
    void drawSelected(
        const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &pb) override;
    void drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface) override;
    bool acceptsRelation(const TAbstractParents2Children &relation) const override;

private:
    void drawMark(const TDrawStatus &status, TAbstractImageAdapter &surface, bool selected);

    TModelPoint fMarkPosition;
    TModelViewRect fMarkExtent;
};

// Makes a locus mark of one shape: a point, line, ray, segment, circle,
// arc, ellipse or function graph. Owns the tracer chosen by that shape.
class TParentSomething2tracer : public TParents2Children
{
public:
    TParentSomething2tracer(const TRelationClass &cls, TFiguretype figureType);

    QString className() const override { return QStringLiteral("TParentSomething2tracer"); }
    const TRelationClass &relationClass() const override { return fClass; }

    // The tracer for a traced shape, nullptr when its kind leaves no locus.
    static std::unique_ptr<TAbstractTracer> tracerFor(const TShape &traced);
    // The same, raising the unexpected-state error that names the kind.
    static std::unique_ptr<TAbstractTracer> createTracerFor(const TShape &traced);
    void setTracer(std::unique_ptr<TAbstractTracer> tracer) { fTracer = std::move(tracer); }
    TAbstractTracer &tracer() const { return *fTracer; }
    TShape &traced() const;

    void clearRecords() { fTracer->clearRecords(); }
    // Records and draws onto the layer as the draw status asks; rebuilding
    // draws every record again (the layer was blanked for this draw).
    void recordAndDraw(TCurrentDrawStatus status, bool rebuilding, TAbstractImageAdapter &layer,
        TPenBrush &penBrush);
    // Places the mark on the traced shape.
    bool calcChildren(TAbstractImageAdapter *surface) override;

private:
    const TRelationClass &fClass;
    std::unique_ptr<TAbstractTracer> fTracer;
};

class TParentSomething2tracerClass : public TRelationClass
{
public:
    QString className() const override { return QStringLiteral("TParentSomething2tracer"); }
    TFiguretypeSet supportedFigureTypes() const override { return { TFiguretype::FIG_tracer }; }
    std::unique_ptr<TAbstractParents2Children> createRelation(
        TFiguretype figureType) const override;
    void s_createShapes2shapeList(TShapeStore &outList, TFiguretype figureType, bool interactive,
        const TShapeList &parents) const override;
    // Beyond the parent rules: only shapes that leave a locus (a graph of a
    // kind without one offers no tool, and a document naming one is refused).
    bool isMyParentShapes(const TShapeList *shapes) const override;
    bool acceptsParents(const TShapeList &parents) const override;

protected:
    void fillParentRules(TParentShapeInfoList &rules) const override;
};

// Registers the locus mark's relation class.
void registerTraceRelationClasses(class TShapeFactory &factory);

} // namespace zarno
