#include "labels/zahyougroup.h"

#include "core/exceptions.h"
#include "labels/shapewriting.h"
#include "labels/writing.h"
#include "labels/zahyouproperty.h"
#include "model/curverelations.h"
#include "model/shapedot.h"
#include "model/shapestore.h"
#include "model/shapevariable2dot.h"

namespace zarno {

namespace {

// The classes of the parts. Parts read from a document are built by the
// factory's own instances; these live as long as the program, like the
// relations that refer to them.
const TParentShapeVariable2dotClass &footClass()
{
    static const TParentShapeVariable2dotClass c;
    return c;
}

const TParentDots2LineClass &segmentClass()
{
    static const TParentDots2LineClass c;
    return c;
}

const TParentDot2zahyouClass &readOutClass()
{
    static const TParentDot2zahyouClass c;
    return c;
}

constexpr int kReadOutPt = 14;

} // namespace

std::unique_ptr<TAbstractParents2Children> TParentDot2zahyouGroupClass::createRelation(
    TFiguretype) const
{
    throw ESouteigai(className(), QStringLiteral("このfigureには関係がありません。"),
        QStringLiteral("createRelation"));
}

void TParentDot2zahyouGroupClass::fillParentRules(TParentShapeInfoList &rules) const
{
    rules.add({ TShapetype::SHAPE_dot }, 1, 1);
}

void TParentDot2zahyouGroupClass::s_createShapes2shapeList(
    TShapeStore &outList, TFiguretype figureType, bool interactive, const TShapeList &parents) const
{
    checkSupported(figureType);
    if (!interactive)
        return;
    TShape *p1 = parents.first();
    TShapeList one;
    one.add(p1);
    std::unique_ptr<TShapeDot> footX
        = footClass().createWithFormulas(one, QStringLiteral("p1.x"), QStringLiteral("0"));
    std::unique_ptr<TShapeDot> footY
        = footClass().createWithFormulas(one, QStringLiteral("0"), QStringLiteral("p1.y"));
    if (!footX || !footY)
        return;
    TShapeDot *x = footX.get();
    TShapeDot *y = footY.get();
    TShapeStore built;
    built.add(std::move(footX));
    built.add(std::move(footY));
    const struct
    {
        TShapeDot *foot;
        const char *name;
    } segments[] = { { x, "P1からx軸への線" }, { y, "P1からy軸への線" } };
    for (const auto &s : segments) {
        TShapeList ends;
        ends.add(p1);
        ends.add(s.foot);
        TShapeStore segment;
        segmentClass().s_createShapes2shapeList(segment, TFiguretype::FIG_senbun, false, ends);
        for (TShape *made : segment.items())
            made->setCustomMyName(QString::fromUtf8(s.name));
        built.takeAllFrom(segment);
    }
    TShapeList foot;
    foot.add(x);
    TShapeStore readOut;
    readOutClass().s_createShapes2shapeList(readOut, TFiguretype::FIG_dot2zahyou, false, foot);
    for (TShape *made : readOut.items()) {
        auto *label = static_cast<TShapeWriting *>(made);
        auto &relation = static_cast<TParentDot2zahyou &>(*label->relation());
        relation.property().kind = TZahyouViewtype::zvtX;
        relation.property().name().setText(QStringLiteral("Z"));
        label->setOffsetAndDirection({ 0, -3 }, T_Direction::dirS);
        label->setTextAndPt(relation.property().text(x->getXY()), kReadOutPt);
    }
    built.takeAllFrom(readOut);
    outList.takeAllFrom(built);
}

} // namespace zarno
