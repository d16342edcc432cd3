#include "render/printarea.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "model/curverelations.h"
#include "model/parentnil2dot.h"
#include "model/shapedot.h"
#include "model/shapeline.h"
#include "model/shapestore.h"
#include "model/zahyou.h"
#include "render/dpi.h"

#include <algorithm>
#include <memory>

namespace zarno {

namespace {

const QString kClass = QStringLiteral("TShapePrintArea");
const QString kAreaName = QStringLiteral("画像ファイル出力領域");

// Edge k joins corner (k + 1) mod 4 to corner k: 12V is P2–P1, 23H P3–P2,
// 34V P4–P3, 41H P1–P4.
int edgeFrom(int k)
{
    return (k + 1) % 4;
}
int edgeTo(int k)
{
    return k;
}

// P1–P2 and P3–P4 are the vertical edges, P2–P3 and P4–P1 the horizontal ones.
constexpr int kVerticalPartner[4] = { 1, 0, 3, 2 };
constexpr int kHorizontalPartner[4] = { 3, 2, 1, 0 };

const TModelPoint kInitialCorners[4] = { { 4, 3 }, { 4, -3 }, { -4, -3 }, { -4, 3 } };
const char *const kEdgeNames[4] = { "12V", "23H", "34V", "41H" };

// The classes that build the parts. The parts of a document read from a file
// are built by the factory's own instances; these serve the initial group
// and live as long as the program, like the relations that refer to them.
const TParentNil2dotClass &cornerClass()
{
    static const TParentNil2dotClass c;
    return c;
}

const TParentDots2LineClass &edgeClass()
{
    static const TParentDots2LineClass c;
    return c;
}

} // namespace

void TGraphicfileProperty::saveToFile(TAbstractFileWriter &writer) const
{
    writer.openTag(tagName());
    writer.writeGraphicFileScaletype(scaleType);
    writer.writeInteger(QStringLiteral("boxSizeMm"), boxSizeMm);
    writer.writeInteger(QStringLiteral("hAxe1_mm"), hAxe1_mm);
    writer.writeGraphicFileFontScaletype(fontScaleType);
    writer.newLine();
    writer.closeTag(tagName());
}

void TGraphicfileProperty::loadFromFile(TAbstractXmlNode &parentNode)
{
    TAbstractXmlNode &group = parentNode.getThisTagNode(tagName());
    scaleType = group.readEnumOr(
        TEnumConverter<TGraphicFileScaletype>::tagName(), TGraphicFileScaletype::gstInBox);
    boxSizeMm = group.readIntegerOr(QStringLiteral("boxSizeMm"), 100);
    hAxe1_mm = group.readIntegerOr(QStringLiteral("hAxe1_mm"), 10);
    fontScaleType = group.readEnumOr(
        TEnumConverter<TGraphicFileFontScaletype>::tagName(), TGraphicFileFontScaletype::fstResize);
}

TModelPoint TGraphicfileProperty::outputSizeMm(
    const TModelViewRect &modelRect, const QSize &pixelSize) const
{
    const double w = scaleType == TGraphicFileScaletype::gstInBox
        ? double(boxSizeMm)
        : (modelRect.right - modelRect.left) * hAxe1_mm;
    const double h = pixelSize.width() > 0 ? w / pixelSize.width() * pixelSize.height() : 0.0;
    return { w, h };
}

double TGraphicfileProperty::fontScale(
    const TModelViewRect &modelRect, const QSize &pixelSize) const
{
    if (fontScaleType == TGraphicFileFontScaletype::fstSameAsDisplay || pixelSize.width() <= 0)
        return 1.0;
    const double screenWidthMm = pixelSize.width() / TDpi::screen().x * 25.4;
    return outputSizeMm(modelRect, pixelSize).x / screenWidthMm;
}

TShapePrintArea::TShapePrintArea()
    : TShape(TShapetype::SHAPE_printArea)
{
    setPropertyType(TPropertyType::PrintArea);
    setCanDelete(false);
    setFView2list(false);
}

void TShapePrintArea::adoptParts(const QList<TShape *> &parts)
{
    std::array<TShapeDot *, 4> corners {};
    std::array<TShapeLine *, 4> edges {};
    bool ok = parts.size() == kPartCount;
    for (int i = 0; ok && i < 4; ++i) {
        corners[i] = dynamic_cast<TShapeDot *>(parts[i]);
        ok = corners[i] && parts[i]->getFigureType() == TFiguretype::FIG_printAreaDot;
    }
    for (int k = 0; ok && k < 4; ++k) {
        TShape *e = parts[Edge12V + k];
        edges[k] = dynamic_cast<TShapeLine *>(e);
        ok = edges[k] && e->getFigureType() == TFiguretype::FIG_printAreaSenbun
            && e->parents().count() == 2 && e->parents().item(0) == corners[edgeFrom(k)]
            && e->parents().item(1) == corners[edgeTo(k)];
    }
    if (!ok)
        throw EFileFormatError(QStringLiteral(
            "画像ファイル出力領域の直前に, その4個の点と4本の線が順に並んでいません。"));
    fCorners = corners;
    fEdges = edges;
}

QList<TShape *> TShapePrintArea::parts() const
{
    QList<TShape *> list;
    if (!hasParts())
        return list;
    for (TShapeDot *c : fCorners)
        list.append(c);
    for (TShapeLine *e : fEdges)
        list.append(e);
    return list;
}

TShapeDot &TShapePrintArea::corner(int index) const
{
    if (!hasParts() || index < 0 || index >= 4)
        throw ESouteigai(kClass, { fmtArg(index) }, QStringLiteral("点%dがありません。"),
            QStringLiteral("corner"));
    return *fCorners[index];
}

TShapeLine &TShapePrintArea::edge(int index) const
{
    if (!hasParts() || index < 0 || index >= 4)
        throw ESouteigai(kClass, { fmtArg(index) }, QStringLiteral("線%dがありません。"),
            QStringLiteral("edge"));
    return *fEdges[index];
}

int TShapePrintArea::cornerIndexOf(const TShape &shape) const
{
    for (int i = 0; i < 4; ++i)
        if (fCorners[i] == &shape)
            return i;
    return -1;
}

TModelViewRect TShapePrintArea::modelRect() const
{
    const TModelPoint a = corner(0).getXY(), c = corner(2).getXY();
    return { std::min(a.x, c.x), std::max(a.y, c.y), std::max(a.x, c.x), std::min(a.y, c.y) };
}

void TShapePrintArea::setCorner(int index, const TModelPoint &p)
{
    fCorners[index]->setXY(p);
    fCorners[index]->changed();
}

void TShapePrintArea::followCorner(TShape &moved)
{
    if (!hasParts())
        return;
    const int i = cornerIndexOf(moved);
    if (i < 0)
        throw ESouteigai(kClass, QStringLiteral("画像ファイル出力領域の点ではありません。"),
            QStringLiteral("followCorner"));
    const TModelPoint p = fCorners[i]->getXY();
    TShapeDot *v = fCorners[kVerticalPartner[i]];
    TShapeDot *h = fCorners[kHorizontalPartner[i]];
    setCorner(kVerticalPartner[i], { p.x, v->getY() });
    setCorner(kHorizontalPartner[i], { h->getX(), p.y });
}

void TShapePrintArea::moveBy(const TModelPoint &offset)
{
    if (!hasParts())
        return;
    for (int i = 0; i < 4; ++i)
        setCorner(i, { fCorners[i]->getX() + offset.x, fCorners[i]->getY() + offset.y });
}

void TShapePrintArea::selectEdges(TShapeList &selection)
{
    if (!hasParts())
        return;
    for (TShapeLine *e : fEdges) {
        if (!selection.contains(e))
            selection.add(e);
        e->setFSelected(true);
    }
}

void TShapePrintArea::setShown(bool shown)
{
    for (TShape *part : parts())
        part->setViewOnOff(shown ? TViewOnOff::voOn : TViewOnOff::voOff);
}

bool TShapePrintArea::isShown() const
{
    return hasParts() && fCorners[0]->getViewOnOff() == TViewOnOff::voOn;
}

void TShapePrintArea::hideForExport()
{
    fShownBeforeExport = isShown();
    fHiddenForExport = true;
    setShown(false);
}

void TShapePrintArea::restoreAfterExport()
{
    // Only what an export hid comes back.
    if (!fHiddenForExport)
        return;
    fHiddenForExport = false;
    setShown(fShownBeforeExport);
}

void TShapePrintArea::saveInfo(TAbstractFileWriter &writer) const
{
    fProperty.saveToFile(writer);
    TShape::saveInfo(writer);
}

void TShapePrintArea::loadInfo(TAbstractXmlNode &node)
{
    fProperty.loadFromFile(node);
    TShape::loadInfo(node);
}

std::unique_ptr<TAbstractParents2Children> TParentNil2printAreaClass::createRelation(
    TFiguretype figureType) const
{
    checkSupported(figureType);
    return std::make_unique<TParentNil2printArea>(*this, figureType);
}

void TParentNil2printAreaClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &) const
{
    checkSupported(figureType);
    if (interactive)
        createInitialPrintArea(outList);
    else
        outList.add(createArea());
}

std::unique_ptr<TShapePrintArea> TParentNil2printAreaClass::createArea() const
{
    auto area = std::make_unique<TShapePrintArea>();
    attachNew(TFiguretype::FIG_printArea, *area);
    area->setCustomMyName(kAreaName);
    return area;
}

std::unique_ptr<TShapeDot> TParentNil2printAreaClass::createCorner(
    const QString &name, const TModelPoint &at) const
{
    std::unique_ptr<TShapeDot> dot(cornerClass().createDotWithZahyou(TFiguretype::FIG_printAreaDot,
        TZahyou::createFreeZahyou(), TParentSomething2dotClass::Mode::mProgram, TShapeList()));
    if (!dot)
        throw ESouteigai(
            className(), QStringLiteral("点が作れませんでした。"), QStringLiteral("createCorner"));
    dot->setInitialXY(at);
    dot->setCustomMyName(name);
    dot->setCanDelete(false);
    dot->setFView2list(false);
    // The corners follow each other (followCorner), so a drag of shapes built
    // on them must not move one alone.
    dot->setCanMoveAnywhere(false);
    dot->setViewType(TViewType::vtEditVisible);
    return dot;
}

std::unique_ptr<TShape> TParentNil2printAreaClass::createEdge(
    const QString &name, TShapeDot &from, TShapeDot &to) const
{
    TShapeList ends;
    ends.add(&from);
    ends.add(&to);
    TShapeStore built;
    edgeClass().s_createShapes2shapeList(built, TFiguretype::FIG_printAreaSenbun, false, ends);
    std::unique_ptr<TShape> edge = built.take(built.first());
    auto *line = static_cast<TShapeLine *>(edge.get());
    line->setCustomMyName(name);
    line->setCanDelete(false);
    line->setFView2list(false);
    line->setViewType(TViewType::vtVisible);
    line->penBrush().setPenStyle(TPenStyle::psDot);
    return edge;
}

void TParentNil2printAreaClass::createInitialPrintArea(TShapeStore &outList) const
{
    // On a failure the store frees what was built, edges before the corners
    // they hang on.
    TShapeStore built;
    try {
        for (int i = 0; i < 4; ++i)
            built.add(createCorner(
                kAreaName + QStringLiteral("の点") + QString::number(i + 1), kInitialCorners[i]));
        for (int k = 0; k < 4; ++k)
            built.add(createEdge(kAreaName + QStringLiteral("の線") + QLatin1String(kEdgeNames[k]),
                static_cast<TShapeDot &>(*built.item(edgeFrom(k))),
                static_cast<TShapeDot &>(*built.item(edgeTo(k)))));
        const QList<TShape *> parts = built.items();
        std::unique_ptr<TShapePrintArea> area = createArea();
        area->adoptParts(parts);
        built.add(std::move(area));
    } catch (const EMyException &) {
        throw;
    } catch (const EZarnoBase &e) {
        throw EMyFatalException(
            QStringLiteral("TShapeFactory"), e.message(), QStringLiteral("createInitialPrintArea"));
    } catch (const std::exception &e) {
        throw EMyFatalException(QStringLiteral("TShapeFactory"), QString::fromUtf8(e.what()),
            QStringLiteral("createInitialPrintArea"));
    }
    outList.takeAllFrom(built);
}

} // namespace zarno
