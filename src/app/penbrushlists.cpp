#include "app/penbrushlists.h"

#include "platform/painterpaths.h"

#include <QComboBox>
#include <QPainter>
#include <QPixmap>
#include <QToolBar>

namespace zarno {

namespace {

// Widths in pixels, as in the toolbar's rows.
constexpr int kWidths[TPenBrushLists::kListCount] = { 80, 115, 132, 80, 80, 132, 100 };

QColor qtColor(TColor c)
{
    return QColor(colorRed(c), colorGreen(c), colorBlue(c));
}

// A colour item: a swatch outlined in black.
QPixmap swatch(TColor color)
{
    QPixmap p(48, 12);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(Qt::black);
    g.setBrush(qtColor(color));
    g.drawRect(0, 0, 47, 11);
    return p;
}

// A width or style item: a black line 40 pixels long at the centre.
QPixmap lineSample(int width, TPenStyle style)
{
    QPixmap p(40, 14);
    p.fill(Qt::transparent);
    if (style == TPenStyle::psClear)
        return p;
    QPainter g(&p);
    QPen pen = painterPen(kColorBlack, width, style);
    pen.setCapStyle(Qt::FlatCap);
    g.setPen(pen);
    g.drawLine(QPointF(0, 7), QPointF(40, 7));
    return p;
}

} // namespace

TComboBoxList::TComboBoxList(QToolBar &toolbar, QObject *parent)
    : QObject(parent)
{
    static const char *names[] = { "cbePenColor", "cbePenWidth", "cbePenStyle", "cbeBrushColor",
        "cbeBrushStyle", "cbeOuterPenStyle", "cbeViewType" };
    for (int k = 0; k < TPenBrushLists::kListCount; ++k) {
        auto *box = new QComboBox(&toolbar);
        box->setObjectName(QString::fromLatin1(names[k]));
        box->setEditable(false);
        box->setFixedWidth(kWidths[k]);
        box->setFocusPolicy(Qt::ClickFocus);
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        const bool colours = TPenBrushLists::isColorList(k);
        const bool samples = k == TPenBrush::aPenWidth || k == TPenBrush::aPenStyle
            || k == TPenBrush::aOuterPenStyle;
        box->setIconSize(colours ? QSize(48, 12) : QSize(40, 14));
        for (int i = 0; i < TPenBrushLists::itemCount(k); ++i) {
            const QString text = TPenBrushLists::itemText(k, i);
            if (colours) {
                box->addItem(QIcon(swatch(TPenBrushLists::color(i))), QString());
                box->setItemData(i, text, Qt::ToolTipRole);
                box->setItemData(i, text, Qt::AccessibleTextRole);
            } else if (samples) {
                const int width = k == TPenBrush::aPenWidth
                    ? TPenBrush::penLineWidth(i, false, false, false)
                    : 1;
                const TPenStyle style = k == TPenBrush::aPenWidth ? TPenStyle::psSolid
                                                                  : TPenBrushLists::penStyle(k, i);
                box->addItem(QIcon(lineSample(width, style)), text);
            } else {
                box->addItem(text);
            }
        }
        connect(box, &QComboBox::activated, this, [this, k](int item) {
            if (chosen)
                chosen(k, item);
        });
        toolbar.addWidget(box);
        // Separators after the pen's three lists, the brush's two and the
        // outer style.
        if (k == 2 || k == 4 || k == 5)
            toolbar.addSeparator();
        fLists[size_t(k)] = box;
    }
    disableAll();
}

void TComboBoxList::show(
    const TPenBrush &penBrush, const std::array<TListState, TPenBrushLists::kListCount> &states)
{
    for (int k = 0; k < TPenBrushLists::kListCount; ++k) {
        QComboBox *box = fLists[size_t(k)];
        const TListState state = states[size_t(k)];
        box->setEnabled(state != TListState::Disabled);
        box->setCurrentIndex(
            state == TListState::Common ? TPenBrushLists::matchingItem(k, penBrush) : -1);
    }
}

void TComboBoxList::disableAll()
{
    for (QComboBox *box : fLists) {
        box->setEnabled(false);
        box->setCurrentIndex(-1);
    }
}

} // namespace zarno
