#include "trace/shapetracer.h"

#include "base/fileio.h"
#include "base/penbrush.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "graphs/shapefunction.h"
#include "model/shapefactory.h"
#include "model/shapeline.h"
#include "model/shapestore.h"
#include "platform/bitmap.h"
#include "trace/traceadapter.h"

#include <QLocale>
#include <QStringList>

namespace zarno {

namespace {

const QString kRecordsTag = QStringLiteral("traceRecords");
const QString kRecordTag = QStringLiteral("r");

bool clearsLayer(TCurrentDrawStatus s)
{
    return s == TCurrentDrawStatus::Scrolling || s == TCurrentDrawStatus::FullRefresh
        || s == TCurrentDrawStatus::ZoomStep || s == TCurrentDrawStatus::DocumentChanged;
}

QString valuesText(const QList<double> &values)
{
    QStringList parts;
    for (double v : values)
        parts << QString::number(v, 'g', QLocale::FloatingPointShortest);
    return parts.join(QLatin1Char(','));
}

} // namespace

// ---- the mark

TShapeTracer::TShapeTracer()
    : TShape(TShapetype::SHAPE_tracer)
{
    setPropertyType(TPropertyType::Tracer);
    TPenBrush &pb = penBrush();
    pb.setPenColor(65280);
    pb.setPenStyle(TPenStyle::psSolid);
    pb.setBrushStyle(TBrushStyle::bsClear);
    pb.setViewType(TViewType::vtVisible);
    // A locus has a colour and a width, nothing else.
    pb.setStates({ TPenBrushState::pbSelect, TPenBrushState::pbSelect, TPenBrushState::pbDisable,
        TPenBrushState::pbDisable, TPenBrushState::pbDisable, TPenBrushState::pbDisable,
        TPenBrushState::pbDisable });
}

TShapeTracer::~TShapeTracer()
{
    // What the layer shows of this locus goes with it.
    TTraceAdapter::instance().invalidate();
}

TParentSomething2tracer *TShapeTracer::tracerRelation() const
{
    return dynamic_cast<TParentSomething2tracer *>(relation());
}

bool TShapeTracer::acceptsRelation(const TAbstractParents2Children &relation) const
{
    return dynamic_cast<const TParentSomething2tracer *>(&relation) != nullptr;
}

void TShapeTracer::eraseTrace()
{
    if (TParentSomething2tracer *r = tracerRelation(); r && r->tracer().count() > 0) {
        r->clearRecords();
        changed();
    }
    TTraceAdapter::instance().invalidate();
}

void TShapeTracer::beforeDraw(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    if (!surface.isOutput())
        TTraceAdapter::instance().beginPass(clearsLayer(status.value), surface);
}

void TShapeTracer::afterDraw(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    if (!surface.isOutput())
        TTraceAdapter::instance().endPass(surface);
}

void TShapeTracer::drawNormal(const TDrawStatus &status, TAbstractImageAdapter &surface)
{
    drawMark(status, surface, false);
}

void TShapeTracer::drawSelected(
    const TDrawStatus &status, TAbstractImageAdapter &surface, TPenBrush &)
{
    drawMark(status, surface, true);
}

void TShapeTracer::drawMark(
    const TDrawStatus &status, TAbstractImageAdapter &surface, bool selected)
{
    TParentSomething2tracer *rel = tracerRelation();
    if (!rel)
        return;
    const int before = rel->tracer().count();
    if (surface.isOutput()) {
        // An image file gets its loci drawn straight onto it: a vector file
        // keeps them as lines and dots, and the screen's layer stays as it is.
        rel->recordAndDraw(status.value, true, surface, penBrush());
    } else {
        TTraceAdapter &layer = TTraceAdapter::instance();
        layer.FViewerType = surface.FViewerType;
        surface.paramCopyTo(layer);
        layer.markNotEmpty();
        rel->recordAndDraw(status.value, layer.isRebuilding(), layer, penBrush());
    }
    if (rel->tracer().count() != before)
        changed(); // the records are part of the document
    if (surface.FPreview == 0)
        surface.drawBitmapOffsetPx(icon(selected), fMarkPosition, QPoint(0, -kIconHeight));
    const TModelPoint mpp = surface.getModelPerPixel();
    fMarkExtent = { 0, 0, kIconWidth * mpp.x, -kIconHeight * mpp.y };
}

double TShapeTracer::rawDistance(const TModelPoint &point, const TModelPoint &pixelSize) const
{
    const double w = kIconWidth * pixelSize.x, h = kIconHeight * pixelSize.y;
    const bool inside = point.x > fMarkPosition.x && point.x < fMarkPosition.x + w
        && point.y > fMarkPosition.y && point.y < fMarkPosition.y + h;
    return inside ? 0 : 100;
}

const TBitmap &TShapeTracer::icon(bool selected)
{
    static const auto load = [](const char *name) {
        auto bmp = std::make_unique<TBitmap>(kIconWidth, kIconHeight);
        bmp->renderSvg(QStringLiteral(":/trace/") + QLatin1String(name) + QStringLiteral(".svg"));
        return bmp;
    };
    static const std::unique_ptr<TBitmap> normal = load("shapeTracer");
    static const std::unique_ptr<TBitmap> chosen = load("shapeTracerSelected");
    return selected ? *chosen : *normal;
}

void TShapeTracer::saveInfo(TAbstractFileWriter &writer) const
{
    TShape::saveInfo(writer);
    TParentSomething2tracer *rel = tracerRelation();
    if (!rel || rel->tracer().count() == 0)
        return; // a mark without a locus is written as before records were kept
    const TAbstractTracer &tracer = rel->tracer();
    QStringList lines;
    for (const TAbstractTraceRecordOf *r : tracer.list().inArrivalOrder()) {
        const QList<double> values = tracer.valuesOf(*r);
        if (!values.isEmpty())
            lines << valuesText(values);
    }
    if (lines.isEmpty())
        return;
    writer.openTag(kRecordsTag);
    for (const QString &line : lines) {
        writer.writeString(kRecordTag, line);
        writer.newLine();
    }
    writer.closeTag(kRecordsTag);
}

void TShapeTracer::loadInfo(TAbstractXmlNode &node)
{
    // Older documents have no records: the locus starts empty.
    if (TAbstractXmlNode *records = node.getThisTagNodePermitNil(kRecordsTag)) {
        TParentSomething2tracer *rel = tracerRelation();
        for (TAbstractXmlNode *r : records->children()) {
            if (r->tagName() != kRecordTag || !r->isValueElement())
                r->raiseFormatError(safeFormat(
                    QStringLiteral("軌跡の記録に<%s>は置けません。"), { fmtArg(r->tagName()) }));
            QList<double> values;
            bool ok = true;
            for (const QString &part : r->valueText().split(QLatin1Char(','))) {
                values << part.toDouble(&ok);
                if (!ok)
                    break;
            }
            std::unique_ptr<TAbstractTraceRecordOf> record
                = ok && rel ? rel->tracer().fromValues(rel->traced(), values) : nullptr;
            if (!record)
                r->raiseFormatError(safeFormat(
                    QStringLiteral("軌跡の記録(%s)が読めません。"), { fmtArg(r->valueText()) }));
            rel->tracer().addRecord(std::move(record));
        }
    }
    TShape::loadInfo(node);
}

// ---- the relation

TParentSomething2tracer::TParentSomething2tracer(const TRelationClass &cls, TFiguretype figureType)
    : TParents2Children(figureType)
    , fClass(cls)
{ }

TShape &TParentSomething2tracer::traced() const
{
    return *myShape()->parents().first();
}

std::unique_ptr<TAbstractTracer> TParentSomething2tracer::tracerFor(const TShape &traced)
{
    switch (traced.shapeType()) {
    case TShapetype::SHAPE_dot: return std::make_unique<TTracerOfDot>();
    case TShapetype::SHAPE_line: {
        const TBoundaryType t = static_cast<const TShapeLine &>(traced).getLineKind();
        if (t == TBoundaryType::btAll || t == TBoundaryType::btOneSide)
            return std::make_unique<TTracerOfCyokusen>();
        return nullptr;
    }
    case TShapetype::SHAPE_senbun: return std::make_unique<TTracerOfCyokusen>();
    case TShapetype::SHAPE_circle: return std::make_unique<TTracerOfCircle>();
    case TShapetype::SHAPE_ellipse: return std::make_unique<TTracerOfEllipse>();
    case TShapetype::SHAPE_function:
        switch (traced.getFigureType()) {
        case TFiguretype::FIG_function:
        case TFiguretype::FIG_functionY: return std::make_unique<TTracerOfFunction>();
        case TFiguretype::FIG_seishiki: return std::make_unique<TTracerOfSeishiki>();
        case TFiguretype::FIG_shapeVariable2function:
            return std::make_unique<TTracerOfSomething2function>();
        default: return nullptr;
        }
    default: return nullptr;
    }
}

std::unique_ptr<TAbstractTracer> TParentSomething2tracer::createTracerFor(const TShape &traced)
{
    if (std::unique_ptr<TAbstractTracer> t = tracerFor(traced))
        return t;
    const QString method = QStringLiteral("createShapes2shapeList");
    const QString cls = QStringLiteral("TParentSomething2tracer");
    switch (traced.shapeType()) {
    case TShapetype::SHAPE_line:
        throw ESouteigai(cls,
            { fmtArg(TEnumConverter<TBoundaryType>::name(
                static_cast<const TShapeLine &>(traced).getLineKind())) },
            QStringLiteral("直線境界タイプ(%s)の軌跡はサポートしていません。"), method);
    case TShapetype::SHAPE_function:
        throw ESouteigai(cls, { fmtArg(TEnumConverter<TFiguretype>::name(traced.getFigureType())) },
            QStringLiteral("図形(%s)はサポートしていません。"), method);
    default:
        throw ESouteigai(cls, { fmtArg(TEnumConverter<TShapetype>::name(traced.shapeType())) },
            QStringLiteral("形(%s)はサポートしていません。"), method);
    }
}

void TParentSomething2tracer::recordAndDraw(
    TCurrentDrawStatus status, bool rebuilding, TAbstractImageAdapter &layer, TPenBrush &penBrush)
{
    TShape &shape = traced();
    TAbstractTracer &t = *fTracer;
    switch (status) {
    case TCurrentDrawStatus::Dragging:
        if (rebuilding)
            t.drawThinned(layer, shape, penBrush);
        t.recordAndDrawCurrent(layer, penBrush, shape);
        break;
    case TCurrentDrawStatus::Scrolling:
    case TCurrentDrawStatus::FullRefresh:
    case TCurrentDrawStatus::ZoomStep:
        t.record(shape);
        t.drawThinned(layer, shape, penBrush);
        break;
    case TCurrentDrawStatus::DocumentChanged: {
        t.record(shape);
        t.drawAll(layer, shape, penBrush);
        std::unique_ptr<TTraceRecord> extra(shape.traceRecord());
        if (auto *r = dynamic_cast<TAbstractTraceRecordOf *>(extra.get()))
            t.drawRecord(layer, penBrush, *r, shape);
        break;
    }
    case TCurrentDrawStatus::Ordinary:
        // The layer keeps what earlier draws put on it, unless it had to
        // be blanked for this one.
        if (rebuilding)
            t.drawAll(layer, shape, penBrush);
        break;
    }
}

bool TParentSomething2tracer::calcChildren(TAbstractImageAdapter *)
{
    auto *mark = static_cast<TShapeTracer *>(myShape());
    if (fTracer && mark->parents().count() == 1)
        mark->setMarkPosition(fTracer->placeMark(traced()));
    setValid(true);
    return true;
}

// ---- the class

std::unique_ptr<TAbstractParents2Children> TParentSomething2tracerClass::createRelation(
    TFiguretype figureType) const
{
    return std::make_unique<TParentSomething2tracer>(*this, figureType);
}

void TParentSomething2tracerClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot, TShapetype::SHAPE_line, TShapetype::SHAPE_senbun,
                  TShapetype::SHAPE_circle, TShapetype::SHAPE_ellipse, TShapetype::SHAPE_function },
        1, 1);
}

bool TParentSomething2tracerClass::isMyParentShapes(const TShapeList *shapes) const
{
    return TRelationClass::isMyParentShapes(shapes) && shapes->count() == 1
        && TParentSomething2tracer::tracerFor(*shapes->first()) != nullptr;
}

bool TParentSomething2tracerClass::acceptsParents(const TShapeList &parents) const
{
    return TRelationClass::acceptsParents(parents) && parents.count() == 1
        && TParentSomething2tracer::tracerFor(*parents.first()) != nullptr;
}

void TParentSomething2tracerClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    if (parents.count() != 1)
        throw ESouteigai(className(), { fmtArg(parents.count()) }, QStringLiteral("親が%d個です。"),
            QStringLiteral("createShapes2shapeList"));
    std::unique_ptr<TAbstractTracer> tracer
        = TParentSomething2tracer::createTracerFor(*parents.first());
    auto mark = std::make_unique<TShapeTracer>();
    auto *relation = static_cast<TParentSomething2tracer *>(attachNew(figureType, *mark));
    relation->setTracer(std::move(tracer));
    relation->setRelation(mark.get(), parents);
    relation->calcChildren(nullptr);
    outList.add(std::move(mark));
}

void registerTraceRelationClasses(TShapeFactory &factory)
{
    factory.registerClass(std::make_unique<TParentSomething2tracerClass>());
}

} // namespace zarno
