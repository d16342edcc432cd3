#include "dialogs/rangeinput.h"

#include "dialogs/formulafacade.h"
#include "formula/calcformulafacade.h"
#include "graphs/range.h"
#include "labels/labeldialogs.h"
#include "labels/writing.h"
#include "platform/bitmap.h"

#include <QButtonGroup>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace zarno {

namespace {

constexpr int kPreviewWidth = 120;
constexpr int kPreviewHeight = 50;
constexpr int kBoundPt = 14;

// A bound as a number the label can show: a plain number stays as typed, a
// formula (pi/2) becomes its value.
QString boundText(const QString &text)
{
    bool ok = false;
    text.toDouble(&ok);
    if (ok)
        return text;
    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    facade->compileFormula(text);
    const double v = facade->calculate();
    return std::isfinite(v) ? QString::number(v, 'g', 15) : QStringLiteral("0");
}

} // namespace

TRangeInput::TRangeInput(QWidget *parent)
    : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 4, 10, 4);
    auto *caption = new QLabel(QStringLiteral("定義域"), this);
    layout->addWidget(caption, 0, Qt::AlignBottom);
    const QString infinite[] = { QStringLiteral(" -∞ (&1)"), QStringLiteral(" ∞ (&2)") };
    const QString finite[] = { QStringLiteral(" (&L) "), QStringLiteral(" (&U) ") };
    for (int bound = 0; bound < 2; ++bound) {
        if (bound == 1)
            layout->addWidget(new QLabel(QStringLiteral("〜"), this), 0, Qt::AlignBottom);
        Box &box = fBoxes[bound];
        box.writing = TWriting::createHiddenNumberWriting(true);
        box.writing->setSizeSelectable(false);
        auto *frame = new QFrame(this);
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        auto *grid = new QVBoxLayout(frame);
        grid->setContentsMargins(10, 4, 10, 4);
        grid->setSpacing(2);
        box.infinite = new QRadioButton(infinite[bound], frame);
        box.finite = new QRadioButton(finite[bound], frame);
        auto *group = new QButtonGroup(frame);
        group->addButton(box.infinite);
        group->addButton(box.finite);
        box.preview = new QPushButton(frame);
        box.preview->setFixedSize(kPreviewWidth, kPreviewHeight);
        box.preview->setIconSize(QSize(kPreviewWidth - 6, kPreviewHeight - 6));
        box.preview->setToolTip(QStringLiteral("クリックで数値を入力"));
        grid->addWidget(box.infinite);
        auto *row = new QHBoxLayout;
        row->addWidget(box.finite);
        row->addWidget(box.preview);
        row->addStretch(1);
        grid->addLayout(row);
        layout->addWidget(frame, 1);
        connect(box.infinite, &QRadioButton::toggled, this, [this, bound](bool on) {
            fBoxes[bound].writing->setView(!on);
            repaint(bound);
        });
        connect(box.preview, &QPushButton::clicked, this, [this, bound] { edit(bound); });
    }
}

TRangeInput::~TRangeInput() = default;

void TRangeInput::load(const TRange &range)
{
    const bool infinite[] = { range.fMinIsInfinity, range.fMaxIsInfinity };
    const QString texts[] = { range.minText(), range.maxText() };
    for (int bound = 0; bound < 2; ++bound) {
        Box &box = fBoxes[bound];
        box.writing->setRealNumber(boundText(texts[bound]), kBoundPt);
        box.writing->setView(!infinite[bound]);
        (infinite[bound] ? box.infinite : box.finite)->setChecked(true);
        repaint(bound);
    }
}

void TRangeInput::apply(TRange &range) const
{
    range.fMinIsInfinity = !fBoxes[0].writing->view();
    range.fMaxIsInfinity = !fBoxes[1].writing->view();
    const QString texts[] = { QString::number(fBoxes[0].writing->value(1), 'g', 15),
        QString::number(fBoxes[1].writing->value(1), 'g', 15) };
    range.setMinText(texts[0]);
    range.setMaxText(texts[1]);
}

void TRangeInput::repaint(int bound)
{
    Box &box = fBoxes[bound];
    const bool on = box.writing->view();
    TBitmap bitmap(kPreviewWidth - 6, kPreviewHeight - 6);
    TCanvas &canvas = bitmap.canvas();
    // White while the bound is a number, greyed while it is infinite.
    canvas.setBrushColor(on ? kColorWhite : 0xF0F0F0);
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(0, 0, bitmap.width(), bitmap.height()));
    box.writing->drawInDialog(canvas, bitmap.width(), bitmap.height());
    box.preview->setIcon(QIcon(QPixmap::fromImage(bitmap.toImage())));
    box.preview->setEnabled(on);
}

void TRangeInput::edit(int bound)
{
    Box &box = fBoxes[bound];
    TNumberDialogFacade::edit(-TRange::kUnbounded, TRange::kUnbounded, *box.writing);
    repaint(bound);
}

} // namespace zarno
