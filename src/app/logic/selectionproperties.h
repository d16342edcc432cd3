#pragma once

#include "base/penbrush.h"

#include <QString>
#include <array>
#include <memory>

namespace zarno {

class TShapeList;

// The seven lists of the pen-brush toolbar, in toolbar order: pen colour,
// pen width, pen style, brush colour, brush style, outer pen style, view
// type. List k edits the pen-brush attribute k. What an item shows and
// means lives here, apart from the widgets, so that the lists and the
// logic agree without a window.
class TPenBrushLists
{
public:
    static constexpr int kListCount = TPenBrush::kAttributeCount;

    static int itemCount(int list);
    // The item's name (for a colour, the colour's name: the list shows a
    // swatch).
    static QString itemText(int list, int item);
    // Whether the item shows the pen-brush's value of the list's attribute.
    static bool matches(int list, int item, const TPenBrush &penBrush);
    // Sets the list's attribute to the item's value and makes it applicable.
    static void applyTo(int list, int item, TPenBrush &penBrush);

    // What the widgets draw.
    static bool isColorList(int list) { return list == 0 || list == 3; }
    static TColor color(int item);
    static int penWidthIndex(int item) { return item; }
    static TPenStyle penStyle(int list, int item);
    // The first item that matches, or -1.
    static int matchingItem(int list, const TPenBrush &penBrush);
};

// What a list shows for the selection.
enum class TListState : int {
    Disabled = 0, // the attribute applies to none of them (grey, empty)
    Mixed = 1, // the selected shapes differ (enabled, empty)
    Common = 2, // one value for all (enabled, showing it)
};

struct TGatheredPenBrush
{
    // The first selected shape's pen-brush, or a pen-brush with nothing
    // applicable for an empty selection.
    std::unique_ptr<TPenBrush> penBrush;
    std::array<TListState, TPenBrushLists::kListCount> states {};
};

// The selection's attributes: an attribute is disabled when any selected
// shape lacks it, mixed when two shapes differ, else common.
TGatheredPenBrush gatherPenBrush(const TShapeList *selection);

} // namespace zarno
