#include "app/logic/selectionproperties.h"

#include "model/shape.h"
#include "model/shapelist.h"

namespace zarno {

namespace {

struct NamedColor
{
    TColor color;
    const char *name;
};

// The platform's twenty named colours, red in the low byte.
constexpr NamedColor kColors[] = {
    { 0, "黒" },
    { 255, "赤" },
    { 65280, "ライム" },
    { 16711680, "青" },
    { 65535, "黄" },
    { 16711935, "赤紫" },
    { 16776960, "水色" },
    { 12639424, "マネーグリーン" },
    { 15780518, "スカイブルー" },
    { 15793151, "クリーム" },
    { 128, "栗色" },
    { 32768, "緑" },
    { 8388608, "紺" },
    { 32896, "オリーブ" },
    { 8388736, "紫" },
    { 8421376, "青緑" },
    { 8421504, "灰色" },
    { 10789024, "中間の灰色" },
    { 12632256, "銀色" },
    { 16777215, "白" },
};

constexpr TPenStyle kPenStyles[] = { TPenStyle::psSolid, TPenStyle::psDash, TPenStyle::psDot,
    TPenStyle::psDashDot, TPenStyle::psDashDotDot, TPenStyle::psClear };

constexpr TBrushStyle kBrushStyles[] = { TBrushStyle::bsClear, TBrushStyle::bsSolid,
    TBrushStyle::bsBDiagonal, TBrushStyle::bsFDiagonal, TBrushStyle::bsVertical,
    TBrushStyle::bsHorizontal, TBrushStyle::bsCross, TBrushStyle::bsDiagCross };

constexpr TViewType kViewTypes[] = { TViewType::vtEditVisible, TViewType::vtVisible };

bool inRange(int list, int item)
{
    return item >= 0 && item < TPenBrushLists::itemCount(list);
}

} // namespace

int TPenBrushLists::itemCount(int list)
{
    switch (list) {
    case TPenBrush::aPenColor:
    case TPenBrush::aBrushColor: return int(std::size(kColors));
    case TPenBrush::aPenWidth: return 4;
    case TPenBrush::aPenStyle: return 5; // the outer style's list adds clear
    case TPenBrush::aOuterPenStyle: return 6;
    case TPenBrush::aBrushStyle: return int(std::size(kBrushStyles));
    case TPenBrush::aViewType: return int(std::size(kViewTypes));
    default: return 0;
    }
}

TColor TPenBrushLists::color(int item)
{
    return item >= 0 && item < int(std::size(kColors)) ? kColors[item].color : kColorBlack;
}

TPenStyle TPenBrushLists::penStyle(int list, int item)
{
    return inRange(list, item) ? kPenStyles[item] : TPenStyle::psSolid;
}

QString TPenBrushLists::itemText(int list, int item)
{
    if (!inRange(list, item))
        return {};
    switch (list) {
    case TPenBrush::aPenColor:
    case TPenBrush::aBrushColor: return QString::fromUtf8(kColors[item].name);
    case TPenBrush::aPenWidth: return TPenBrush::penWidthName(item);
    case TPenBrush::aPenStyle:
    case TPenBrush::aOuterPenStyle: return TPenBrush::penStyleName(kPenStyles[item]);
    case TPenBrush::aBrushStyle: return TPenBrush::brushStyleName(kBrushStyles[item]);
    case TPenBrush::aViewType: return TPenBrush::viewTypeName(kViewTypes[item]);
    default: return {};
    }
}

bool TPenBrushLists::matches(int list, int item, const TPenBrush &p)
{
    if (!inRange(list, item))
        return false;
    switch (list) {
    case TPenBrush::aPenColor: return p.getPenColor() == kColors[item].color;
    case TPenBrush::aBrushColor: return p.getBrushColor() == kColors[item].color;
    case TPenBrush::aPenWidth: return p.getPenWidthIndex() == item;
    case TPenBrush::aPenStyle: return p.getPenStyle() == kPenStyles[item];
    case TPenBrush::aOuterPenStyle: return p.getOuterPenStyle() == kPenStyles[item];
    case TPenBrush::aBrushStyle: return p.getBrushStyle() == kBrushStyles[item];
    case TPenBrush::aViewType: return p.getViewType() == kViewTypes[item];
    default: return false;
    }
}

void TPenBrushLists::applyTo(int list, int item, TPenBrush &p)
{
    if (!inRange(list, item))
        return;
    switch (list) {
    case TPenBrush::aPenColor: p.setPenColor(kColors[item].color); break;
    case TPenBrush::aBrushColor: p.setBrushColor(kColors[item].color); break;
    case TPenBrush::aPenWidth: p.setPenWidthIndex(item); break;
    case TPenBrush::aPenStyle: p.setPenStyle(kPenStyles[item]); break;
    case TPenBrush::aOuterPenStyle: p.setOuterPenStyle(kPenStyles[item]); break;
    case TPenBrush::aBrushStyle: p.setBrushStyle(kBrushStyles[item]); break;
    case TPenBrush::aViewType: p.setViewType(kViewTypes[item]); break;
    default: return;
    }
    p.setState(list, TPenBrushState::pbSelect);
}

int TPenBrushLists::matchingItem(int list, const TPenBrush &penBrush)
{
    for (int i = 0; i < itemCount(list); ++i)
        if (matches(list, i, penBrush))
            return i;
    return -1;
}

TGatheredPenBrush gatherPenBrush(const TShapeList *selection)
{
    TGatheredPenBrush g;
    g.states.fill(TListState::Disabled);
    if (!selection || selection->isEmpty()) {
        g.penBrush = std::make_unique<TPenBrush>();
        return g;
    }
    g.penBrush = selection->first()->penBrush().clone();
    for (int i = 0; i < TPenBrushLists::kListCount; ++i)
        g.states[size_t(i)] = g.penBrush->state(i) == TPenBrushState::pbSelect
            ? TListState::Common
            : TListState::Disabled;
    for (int k = 1; k < selection->count(); ++k) {
        const TPenBrush &other = selection->item(k)->penBrush();
        const TPenBrush::Flags differs = g.penBrush->compare(other);
        for (int i = 0; i < TPenBrushLists::kListCount; ++i) {
            TListState &state = g.states[size_t(i)];
            if (other.state(i) != TPenBrushState::pbSelect)
                state = TListState::Disabled;
            else if (state == TListState::Common && differs[size_t(i)])
                state = TListState::Mixed;
        }
    }
    return g;
}

} // namespace zarno
