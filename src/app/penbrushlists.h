#pragma once

#include "app/logic/selectionproperties.h"

#include <QObject>
#include <array>
#include <functional>

class QComboBox;
class QToolBar;

namespace zarno {

// The seven drop-down lists of the pen-brush toolbar. Colours are shown as
// swatches, widths and styles as samples beside their names, the rest as
// text. A list shows the selection's common value, nothing where the
// selected shapes differ, and is grey where the attribute does not apply.
class TComboBoxList : public QObject
{
public:
    TComboBoxList(QToolBar &toolbar, QObject *parent);

    void show(const TPenBrush &penBrush,
        const std::array<TListState, TPenBrushLists::kListCount> &states);
    void disableAll();
    QComboBox *list(int k) const { return fLists[size_t(k)]; }

    // Called with (list, item) when the user chooses an item.
    std::function<void(int, int)> chosen;

private:
    std::array<QComboBox *, TPenBrushLists::kListCount> fLists {};
};

} // namespace zarno
