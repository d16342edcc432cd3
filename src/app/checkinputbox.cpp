#include "app/checkinputbox.h"

#include "app/previewbox.h"
#include "core/exceptions.h"
#include "labels/writing.h"
#include "platform/bitmap.h"
#include "render/dpi.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QSlider>
#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

constexpr int kPreviewHeight = 50;
constexpr int kPositionHeight = 139;
constexpr int kPositionPreview = 119;
constexpr int kTrackBarWidth = 30;

int signedMmToPixels(double mm)
{
    return mm < 0 ? -TDpi::mmToPixels(-mm) : TDpi::mmToPixels(mm);
}

int nearest(double x)
{
    return int(std::nearbyint(x));
}

// Whether a millimetre offset lies on its direction's ray, within the 5 mm
// the editor can set. Labels always carry such an offset.
bool offsetFitsDirection(const TModelPoint &o, T_Direction d)
{
    const double x = o.x, y = o.y;
    if (std::abs(x) > 5 + 1e-9 || std::abs(y) > 5 + 1e-9)
        return false;
    const auto eq = [](double a, double b) { return std::abs(a - b) < 1e-9; };
    switch (d) {
    case T_Direction::dirN: return eq(x, 0) && y > 0;
    case T_Direction::dirNE: return eq(x, y) && x > 0;
    case T_Direction::dirE: return x > 0 && eq(y, 0);
    case T_Direction::dirSE: return eq(x, -y) && x > 0;
    case T_Direction::dirS: return eq(x, 0) && y < 0;
    case T_Direction::dirSW: return eq(x, y) && x < 0;
    case T_Direction::dirW: return x < 0 && eq(y, 0);
    case T_Direction::dirNW: return eq(-x, y) && y > 0;
    case T_Direction::dirCt: return eq(x, 0) && eq(y, 0);
    }
    return false;
}

} // namespace

// ------------------------------------------------------------ direction group

TPositionRadioGroup::TPositionRadioGroup(QWidget *parent)
    : QWidget(parent)
{
    for (int i = 0; i < 9; ++i) {
        auto *b = new TDirectionRadioButton(i, this);
        fButtons[std::size_t(i)] = b;
        QObject::connect(b, &QRadioButton::clicked, this, [this, i] {
            fItemIndex = i;
            if (onChange)
                onChange();
        });
    }
}

void TPositionRadioGroup::layoutButtons()
{
    const int w = width(), h = height();
    const int cx = (w - 15) / 2, cy = (h - 15) / 2;
    const int r = (std::min(w, h) / 2) * 8 / 10;
    for (int i = 0; i < 9; ++i) {
        QPoint at(cx, cy);
        if (i < 8) {
            const double a = i * M_PI / 4;
            at = QPoint(cx + nearest(r * std::sin(a)), cy - nearest(r * std::cos(a)));
        }
        fButtons[std::size_t(i)]->setGeometry(at.x(), at.y(), 15, 15);
    }
}

void TPositionRadioGroup::setItemIndex(int index)
{
    fItemIndex = index;
    fButtons[std::size_t(index)]->setChecked(true);
}

// ------------------------------------------------------------ position editor

TCheckInputBoxAddPosition::TCheckInputBoxAddPosition(int axisIndex, QWidget *owner)
    : fAxisIndex(axisIndex)
{
    fOuter = new QFrame(owner);
    fOuter->setFrameStyle(QFrame::NoFrame);
    auto *panel = new QFrame(fOuter);
    TSetViewStyle::stylePanel(*panel);
    panel->setObjectName(QStringLiteral("positionPanel"));
    panel->resize(kPositionPreview, kPositionPreview);
    fPreview = new TPreviewBox(panel);
    fPreview->setFrameStyle(QFrame::NoFrame);
    fPreview->setGreyWhenDisabled(true);
    TSetViewStyle::stylePaintBox(*fPreview);
    fPreview->setCursor(Qt::ArrowCursor);
    fDirections = new TPositionRadioGroup(fOuter);
    fTrackBar = new QSlider(Qt::Vertical, fOuter);
    fTrackBar->setRange(0, 10);
    fTrackBar->setPageStep(1);
    fTrackBar->setTickPosition(QSlider::TicksBothSides);
    // Position 0 at the top: the farthest distance.
    fTrackBar->setInvertedAppearance(true);
    fTrackBar->setInvertedControls(true);

    fPreview->setPainter([this](TCanvas &canvas, int w, int h) {
        canvas.setBrushColor(buttonFaceColor());
        canvas.setBrushStyle(TBrushStyle::bsSolid);
        canvas.fillRect(QRect(0, 0, w, h));
        const int cx = w / 2, cy = h / 2;
        canvas.setPenColor(kColorBlack);
        canvas.setPenWidth(1);
        if (fAxisIndex == 0) {
            canvas.moveTo(0, cy);
            canvas.lineTo(w, cy);
            canvas.moveTo(cx, cy - 3);
            canvas.lineTo(cx, cy + 4);
        } else {
            canvas.moveTo(cx, 0);
            canvas.lineTo(cx, h);
            canvas.moveTo(cx - 3, cy);
            canvas.lineTo(cx + 4, cy);
        }
        if (!fWriting)
            return;
        const TModelPoint mm = offsetFor(fDirections->itemIndex(), fTrackBar->value());
        const QPoint anchor(cx + signedMmToPixels(mm.x), cy - signedMmToPixels(mm.y));
        canvas.setPenColor(kColorRed);
        canvas.setBrushColor(kColorRed);
        canvas.ellipse(anchor.x() - 3, anchor.y() - 3, anchor.x() + 4, anchor.y() + 4);
        const TBitmap *bmp = fWriting->bitmap();
        if (bmp && !bmp->isEmpty()) {
            const QPoint at = anchor
                + textAnchorOffset(
                    bmp->width(), bmp->height(), T_Direction(fDirections->itemIndex()));
            const TCopyMode saved = canvas.copyMode();
            canvas.setCopyMode(TCopyMode::cmSrcAnd);
            canvas.drawBitmap(at.x(), at.y(), *bmp);
            canvas.setCopyMode(saved);
        }
    });
}

TCheckInputBoxAddPosition::~TCheckInputBoxAddPosition() = default;

TModelPoint TCheckInputBoxAddPosition::offsetFor(int direction, int position)
{
    const double d = (10 - position) * 5 / 10.0;
    switch (T_Direction(direction)) {
    case T_Direction::dirN: return { 0, d };
    case T_Direction::dirNE: return { d, d };
    case T_Direction::dirE: return { d, 0 };
    case T_Direction::dirSE: return { d, -d };
    case T_Direction::dirS: return { 0, -d };
    case T_Direction::dirSW: return { -d, -d };
    case T_Direction::dirW: return { -d, 0 };
    case T_Direction::dirNW: return { -d, d };
    case T_Direction::dirCt: return { 0, 0 };
    }
    return { 0, 0 };
}

void TCheckInputBoxAddPosition::layout(const QRect &rectangle)
{
    fOuter->setGeometry(rectangle.left(), rectangle.top(), rectangle.width(), kPositionHeight);
    const int groupLeft = fOuter->width() - kTrackBarWidth - 85;
    fDirections->setGeometry(groupLeft, 19, 80, 80);
    fDirections->layoutButtons();
    fTrackBar->setGeometry(groupLeft + 80 + 5, 0, kTrackBarWidth, kPositionPreview);
    QWidget *panel = fPreview->parentWidget();
    panel->move((groupLeft - kPositionPreview) / 3, 0);
    TSetViewStyle::stylePaintBox(*fPreview);
}

void TCheckInputBoxAddPosition::load(TWriting &writing)
{
    if (!writing.bitmap() || writing.bitmap()->isEmpty())
        throw ESouteigai(QStringLiteral("TCheckInputBoxAddPosition"),
            QStringLiteral("bmpのサイズが0です。"), QStringLiteral("onBeforeInput"));
    const TModelPoint o = writing.getOffsetMmXy();
    if (!offsetFitsDirection(o, writing.getDirection()))
        throw ESouteigai(QStringLiteral("TCheckInputBoxAddPosition"),
            QString::asprintf("offset(%f,%f)", o.x, o.y) + QStringLiteral("が不正な値です。"),
            QStringLiteral("onBeforeInput"));
    fWriting = nullptr; // no writes back while the controls are set
    fTrackBar->setValue(10 - nearest(10 * std::max(std::abs(o.x), std::abs(o.y))) / 5);
    fDirections->setItemIndex(int(writing.getDirection()));
    fWriting = &writing;
    if (!fLoaded) {
        QObject::connect(fTrackBar, &QSlider::valueChanged, fOuter, [this] { changed(); });
        fDirections->onChange = [this] { changed(); };
        fLoaded = true;
    }
    repaint();
}

void TCheckInputBoxAddPosition::changed()
{
    if (!fWriting)
        return;
    repaint();
}

void TCheckInputBoxAddPosition::enable(bool flag)
{
    fEnabled = flag;
    fPreview->setEnabled(flag);
    for (int i = 0; i < 9; ++i)
        fDirections->button(i)->setEnabled(flag);
    fTrackBar->setEnabled(flag);
}

void TCheckInputBoxAddPosition::repaint()
{
    fPreview->refresh();
    if (!fWriting)
        return;
    // The label follows at once; the row keeps or restores it at the end.
    fWriting->setDirection(T_Direction(fDirections->itemIndex()));
    fWriting->setOffsetMmXy(offsetFor(fDirections->itemIndex(), fTrackBar->value()));
}

void TCheckInputBoxAddPosition::finish()
{
    fWriting = nullptr;
}

// --------------------------------------------------------------- the row

TCheckInputBox::TCheckInputBox(QWidget *owner, const TInputBoxInfo &info, int axisIndex,
    std::unique_ptr<TAbstractCheckInputBoxAdditional> extra)
    : fOwner(owner)
    , fInfo(info)
    , fAxisIndex(axisIndex)
    , fExtra(extra ? std::move(extra) : std::make_unique<TNullCheckBoxAdditional>())
{
    fCheck = new QCheckBox(owner);
    fLabel = new QLabel(owner);
    fPanel = new QFrame(owner);
    fPreview = new TPreviewBox(fPanel);
    fPreview->setFrameStyle(QFrame::NoFrame);
    fPreview->setPainter([this](TCanvas &canvas, int w, int h) {
        if (!fWriting)
            return;
        fWriting->renderBitmap(kColorBlack);
        fWriting->drawInDialog(canvas, w, h);
    });
    fPreview->setOnClick([this] { previewClicked(); });
    QObject::connect(fCheck, &QCheckBox::clicked, fPanel, [this] { checkClicked(); });
}

TCheckInputBox::~TCheckInputBox() = default;

QChar TCheckInputBox::previewLetter() const
{
    return QChar(fInfo.previewAccelerator.unicode() + fAxisIndex);
}

void TCheckInputBox::setGeometry(int checkLeft, int centre, int checkWidth, int rowWidth)
{
    fCheckLeft = checkLeft;
    fCentre = centre;
    fCheckWidth = checkWidth;
    fRowWidth = rowWidth;
}

void TCheckInputBox::layout()
{
    TSetViewStyle::stylePanel(*fPanel);
    const QChar checkKey(fInfo.checkAccelerator.unicode() + fAxisIndex);
    fCheck->setText(fInfo.caption + QStringLiteral("(&") + checkKey + QStringLiteral(")"));
    fCheck->setEnabled(false);
    // Alignment 0: the caption stands left of the box.
    fCheck->setLayoutDirection(fInfo.alignment == 0 ? Qt::RightToLeft : Qt::LeftToRight);
    fLabel->setText(acceleratorCaption((fInfo.intervalPrefix ? QStringLiteral("間隔") : QString())
        + QStringLiteral("(&") + previewLetter() + QStringLiteral(")")));
    fLabel->adjustSize();
    const int checkHeight = fCheck->sizeHint().height();
    QRect extraRect;
    if (fInfo.layout1) {
        const int panelTop = fCentre - kPreviewHeight / 2;
        fCheck->setGeometry(fCheckLeft, fCentre - checkHeight / 2, fCheckWidth, checkHeight);
        const int labelLeft = fCheckLeft + fCheckWidth + 20;
        fLabel->move(labelLeft, fCentre - fLabel->height() / 2);
        const int panelLeft = labelLeft + fLabel->width() + 8;
        fPanel->setGeometry(panelLeft, panelTop, fRowWidth - panelLeft, kPreviewHeight);
        extraRect = QRect(fCheckLeft, panelTop + kPreviewHeight + 3, fRowWidth, kPositionHeight);
    } else {
        const int top = (fOwner->height() - (checkHeight + kPreviewHeight) - 5) / 2;
        fCheck->setGeometry(fCheckLeft, top, fCheckWidth, checkHeight);
        const int panelTop = top + checkHeight + 3;
        fLabel->move(fCheckLeft, panelTop + (kPreviewHeight - fLabel->height()) / 2);
        const int panelLeft = fCheckLeft + fLabel->width() + 8;
        fPanel->setGeometry(panelLeft, panelTop, fRowWidth - panelLeft, kPreviewHeight);
        extraRect = QRect(fPanel->geometry().right() + 1, panelTop,
            fRowWidth - fPanel->geometry().right(), kPreviewHeight);
    }
    TSetViewStyle::stylePaintBox(*fPreview);
    fExtra->layout(extraRect);
}

void TCheckInputBox::load(TWriting &writing)
{
    layout();
    fWriting = &writing;
    fCheck->setEnabled(true);
    fCheck->setChecked(writing.view() != fInfo.invert);
    writing.pushCurrent();
    writing.renderBitmap(kColorBlack);
    fExtra->load(writing);
    repaint();
}

void TCheckInputBox::repaint()
{
    const bool on = fWriting && fWriting->view();
    fPreview->setEnabled(on);
    fExtra->enable(on);
    fPreview->refresh();
    fCheck->setChecked(on != fInfo.invert);
    fExtra->repaint();
}

void TCheckInputBox::checkClicked()
{
    if (!fWriting)
        return;
    fWriting->setView(fCheck->isChecked() != fInfo.invert);
    repaint();
}

void TCheckInputBox::previewClicked()
{
    if (fWriting && editWritingOwn(*fWriting))
        repaint();
}

bool TCheckInputBox::key(QChar letter)
{
    if (!fWriting || letter.toUpper() != previewLetter() || !fPreview->isEnabled())
        return false;
    previewClicked();
    return true;
}

void TCheckInputBox::finish(int result)
{
    if (!fWriting)
        return;
    fExtra->finish();
    if (result == 1)
        fWriting->clearPushed();
    else
        fWriting->pop();
    fWriting = nullptr;
}

} // namespace zarno
