#include "labels/shapewriting.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "labels/labeldialogs.h"
#include "labels/zahyouproperty.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"

#include <cmath>

namespace zarno {

namespace {

constexpr TPenBrushState S = TPenBrushState::pbSelect;
constexpr TPenBrushState D = TPenBrushState::pbDisable;

bool isFinite(const TModelPoint &p)
{
    return std::isfinite(p.x) && std::isfinite(p.y);
}

// A label of parent built by cls: its relation attached and wired.
std::unique_ptr<TShapeWriting> buildLabel(const TRelationClass &cls, TFiguretype figureType,
    const TShapeList &parents, const QString &text, int pt)
{
    auto label = std::make_unique<TShapeWriting>();
    label->setTextAndPt(text, pt);
    cls.attachNew(figureType, *label)->setRelation(label.get(), parents);
    return label;
}

// The label a user asks for: the dialog first; a cancel or an empty text
// builds nothing.
void buildAskedLabel(const TRelationClass &cls, TShapeStore &outList, TFiguretype figureType,
    bool interactive, const TShapeList &parents)
{
    QString text;
    int pt = TWritingDialogFacade::lastPt();
    if (interactive && !TWritingDialogFacade::edit(text, pt))
        return;
    if (!interactive) {
        // Read from a document: the record sets text and size.
        text = QStringLiteral("x");
        pt = TWritingInfo::kDefaultPt;
    }
    outList.add(buildLabel(cls, figureType, parents, text, pt));
}

std::unique_ptr<TShapeWriting> buildProgramLabel(const TRelationClass &cls, TFiguretype figureType,
    TShape &parent, const QString &text, int pt, const TModelPoint &offsetMm, T_Direction direction)
{
    TShapeList parents;
    parents.add(&parent);
    std::unique_ptr<TShapeWriting> label = buildLabel(cls, figureType, parents, text, pt);
    label->setOffsetAndDirection(offsetMm, direction);
    return label;
}

} // namespace

TShapeWriting::TShapeWriting()
    : TShape(TShapetype::SHAPE_writing)
    , fWriting(TWriting::createTextWriting())
{
    setPropertyType(TPropertyType::Writing);
    // The pen colour is the text's colour.
    penBrush().setStates({ S, D, D, D, D, D, S });
}

TShapeWriting::~TShapeWriting() = default;

void TShapeWriting::setTextAndPt(const QString &text, int pt)
{
    fWriting->setText(text);
    fWriting->setPt(pt);
}

void TShapeWriting::setOffsetAndDirection(const TModelPoint &mm, T_Direction direction)
{
    fWriting->setOffsetMmXy(mm);
    fWriting->setDirection(direction);
}

TModelPoint TShapeWriting::takePendingOffset()
{
    const TModelPoint p = fPending;
    fPending = {};
    return p;
}

void TShapeWriting::moveXYOffsetXY(double dx, double dy)
{
    fPending.x += dx;
    fPending.y += dy;
    changed();
}

void TShapeWriting::saveInfo(TAbstractFileWriter &writer) const
{
    fWriting->save(writer);
    TShape::saveInfo(writer);
}

void TShapeWriting::loadInfo(TAbstractXmlNode &node)
{
    // An empty element reads as a placeholder text, not as an empty one.
    for (const TAbstractXmlNode *child : node.children())
        if (child->tagName() == QLatin1String("str") && !child->isValueElement())
            node.raiseFormatError(QStringLiteral("表示する文字列が設定されていません。"));
    fWriting->load(node);
    // A label without text could be neither seen nor picked.
    if (fWriting->text().trimmed().isEmpty())
        node.raiseFormatError(QStringLiteral("表示する文字列が設定されていません。"));
    TShape::loadInfo(node);
}

double TShapeWriting::rawDistance(const TModelPoint &point, const TModelPoint &) const
{
    if (fWriting->text().isEmpty())
        throw ESouteigai(className(), QStringLiteral("表示する文字列が設定されていません。"),
            QStringLiteral("distance"));
    if (!isDrawable() || !fWriting->hasBounds())
        return 100;
    const TModelViewRect &b = fWriting->bounds();
    const bool inside
        = point.x >= b.left && point.x <= b.right && point.y <= b.top && point.y >= b.bottom;
    return inside ? 0 : 100;
}

void TShapeWriting::drawSelected(const TDrawStatus &, TAbstractImageAdapter &surface, TPenBrush &pb)
{
    fWriting->draw(surface, pb.getPenColor(), fAnchor);
}

void TShapeWriting::drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface)
{
    fWriting->draw(surface, penBrush().getPenColor(), fAnchor);
}

bool TShapeWriting::acceptsRelation(const TAbstractParents2Children &relation) const
{
    return dynamic_cast<const TParentSomething2writing *>(&relation) != nullptr;
}

bool TParentSomething2writing::calcChildren(TAbstractImageAdapter *surface)
{
    TShapeWriting &shape = label();
    TModelPoint anchor;
    setValid(anchorPoint(surface, anchor) && isFinite(anchor));
    if (!isValid())
        return false;
    shape.setAnchor(anchor);
    // A drag is kept in millimetres, so the label keeps its place against
    // its anchor at every zoom and in print.
    if (surface) {
        const TModelPoint dragged = shape.takePendingOffset();
        if (dragged.x != 0 || dragged.y != 0) {
            const TModelPoint mm = surface->modelToMm(dragged);
            const TModelPoint was = shape.writing().getOffsetMmXy();
            if (isFinite(mm))
                shape.writing().setOffsetMmXy({ was.x + mm.x, was.y + mm.y });
        }
    }
    return true;
}

void TParentSomething2writing::setupProperty()
{
    TShapeWriting &shape = label();
    QString text = shape.writing().text();
    int pt = shape.writing().pt();
    if (!TWritingDialogFacade::edit(text, pt))
        return;
    shape.setTextAndPt(text, pt);
    shape.changed();
}

TShapeDot &TParentDot2Writing::dot() const
{
    return static_cast<TShapeDot &>(*myShape()->parents().first());
}

bool TParentDot2Writing::anchorPoint(TAbstractImageAdapter *, TModelPoint &anchor)
{
    const TShapeDot &d = dot();
    if (!d.isDrawable())
        return false;
    anchor = d.getXY();
    return true;
}

bool TParentArrow2writing::anchorPoint(TAbstractImageAdapter *surface, TModelPoint &anchor)
{
    auto &arrow = static_cast<TShapeLine &>(*myShape()->parents().first());
    if (!arrow.isDrawable())
        return false;
    // The tip of an arrow line or ray is where it leaves the view: bring it
    // up to date even when the arrow itself is not drawn.
    if (surface && arrow.getLineKind() != TBoundaryType::btBothSides)
        arrow.line().getEdgePoint(surface->getModelViewRect());
    const TMathZahyo &tip = arrow.boundary().endPoint(1);
    anchor = { tip.x, tip.y };
    return true;
}

TParentDot2zahyou::TParentDot2zahyou(const TRelationClass &cls, TFiguretype figureType)
    : TParentDot2Writing(cls, figureType)
    , fProperty(std::make_unique<TZahyouProperty>())
{ }

TParentDot2zahyou::~TParentDot2zahyou() = default;

bool TParentDot2zahyou::calcChildren(TAbstractImageAdapter *surface)
{
    if (!TParentDot2Writing::calcChildren(surface))
        return false;
    TShapeWriting &shape = label();
    shape.setTextAndPt(fProperty->text(dot().getXY()), shape.writing().pt());
    return true;
}

void TParentDot2zahyou::setupProperty()
{
    if (TZahyouPropertyDialogFacade::edit(*fProperty)) {
        calcChildren(nullptr);
        label().changed();
    }
}

void TParentDot2zahyou::saveToFile(TAbstractFileWriter &writer) const
{
    const QString tag = QStringLiteral("zahyouProperty");
    writer.openTag(tag);
    fProperty->name().save(writer);
    writer.writeZahyouViewtype(QStringLiteral("kind"), fProperty->kind);
    writer.writeZahyouScaletype(QStringLiteral("xScaletype"), fProperty->xScaletype);
    writer.writeZahyouScaletype(QStringLiteral("yScaletype"), fProperty->yScaletype);
    writer.writeInteger(QStringLiteral("digits"), fProperty->digits);
    writer.newLine();
    writer.closeTag(tag);
    TParentDot2Writing::saveToFile(writer);
}

void TParentDot2zahyou::loadFromFile(TAbstractXmlNode &figureNode)
{
    if (TAbstractXmlNode *node
        = figureNode.getThisTagNodePermitNil(QStringLiteral("zahyouProperty"))) {
        fProperty->name().load(*node);
        fProperty->kind = node->readEnum<TZahyouViewtype>(QStringLiteral("kind"));
        fProperty->xScaletype = node->readEnum<TZahyouScaletype>(QStringLiteral("xScaletype"));
        fProperty->yScaletype = node->readEnum<TZahyouScaletype>(QStringLiteral("yScaletype"));
        const int digits = node->readInteger(QStringLiteral("digits"));
        if (digits < TZahyouProperty::kMinDigits || digits > TZahyouProperty::kMaxDigits)
            node->raiseFormatError(
                safeFormat(QStringLiteral("小数点以下の桁数(%d)が不正です。"), { fmtArg(digits) }));
        fProperty->digits = digits;
        node->checkAllRead(QStringLiteral("TParentDot2zahyou"), QStringLiteral("loadFromFile"));
    }
    TParentDot2Writing::loadFromFile(figureNode);
}

void TParentDot2WritingClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
}

void TParentDot2WritingClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    buildAskedLabel(*this, outList, figureType, interactive, parents);
}

std::unique_ptr<TShapeWriting> TParentDot2WritingClass::createLabel(TFiguretype figureType,
    TShape &parent, const QString &text, int pt, const TModelPoint &offsetMm,
    T_Direction direction) const
{
    checkSupported(figureType);
    return buildProgramLabel(*this, figureType, parent, text, pt, offsetMm, direction);
}

void TParentArrow2writingClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_arrow, TShapetype::SHAPE_arrowLine }, 1, 1);
}

void TParentArrow2writingClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    buildAskedLabel(*this, outList, figureType, interactive, parents);
}

std::unique_ptr<TShapeWriting> TParentArrow2writingClass::createLabel(TFiguretype figureType,
    TShape &parent, const QString &text, int pt, const TModelPoint &offsetMm,
    T_Direction direction) const
{
    checkSupported(figureType);
    return buildProgramLabel(*this, figureType, parent, text, pt, offsetMm, direction);
}

void TParentDot2zahyouClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
}

void TParentDot2zahyouClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool, const TShapeList &parents) const
{
    checkSupported(figureType);
    auto label = std::make_unique<TShapeWriting>();
    label->setPropertyType(TPropertyType::DotZahyouLabel);
    auto *relation = static_cast<TParentDot2zahyou *>(attachNew(figureType, *label));
    relation->setRelation(label.get(), parents);
    label->setTextAndPt(
        relation->property().text(static_cast<TShapeDot *>(parents.first())->getXY()),
        TWritingInfo::kDefaultPt);
    outList.add(std::move(label));
}

} // namespace zarno
