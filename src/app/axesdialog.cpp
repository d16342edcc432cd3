#include "app/axesdialog.h"

#include "app/checkinputbox.h"
#include "app/previewbox.h"
#include "labels/writing.h"
#include "labels/zahyoujiku.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <algorithm>

namespace zarno {

namespace {

// The three rows, shared by both axes: the axis index is added to the
// accelerators, so the y axis takes the next digit and letter.
const TInputBoxInfo &rowInfo(int row)
{
    static const TInputBoxInfo infos[3] = {
        { QStringLiteral("ラベル"), QLatin1Char('1'), QLatin1Char('L'), false, true, false, 0 },
        { QStringLiteral("目盛"), QLatin1Char('3'), QLatin1Char('S'), true, true, false, 0 },
        { QStringLiteral("格子線"), QLatin1Char('5'), QLatin1Char('G'), true, true, false, 0 },
    };
    return infos[row];
}
constexpr int kRowCentre[3] = { 50, 125, 320 };

} // namespace

TAxeInput::TAxeInput(QGroupBox &groupBox, int axisIndex)
    : fGroupBox(groupBox)
{
    for (int i = 0; i < 3; ++i) {
        std::unique_ptr<TAbstractCheckInputBoxAdditional> extra;
        if (i == 1)
            extra = std::make_unique<TCheckInputBoxAddPosition>(axisIndex, &groupBox);
        fRows[std::size_t(i)]
            = std::make_unique<TCheckInputBox>(&groupBox, rowInfo(i), axisIndex, std::move(extra));
    }
}

TAxeInput::~TAxeInput() = default;

void TAxeInput::load(TAxeProperty &axe)
{
    const QFontMetrics metrics(fGroupBox.font());
    int widest = 0;
    for (int i = 0; i < 3; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(rowInfo(i).caption + "(&0)"));
    TWriting *labels[3] = { axe.nameLabel, &axe.scaleInterval(), &axe.gridlineInterval() };
    for (int i = 0; i < 3; ++i) {
        TCheckInputBox &row = *fRows[std::size_t(i)];
        row.setGeometry(10, kRowCentre[i], widest + 40, fGroupBox.width() - 20);
        if (labels[i])
            row.load(*labels[i]);
        else
            row.layout(); // no name label linked: the row stays disabled
    }
}

void TAxeInput::finish(int result)
{
    for (auto &row : fRows)
        row->finish(result);
}

bool TAxeInput::key(QChar letter)
{
    for (auto &row : fRows)
        if (row->key(letter))
            return true;
    return false;
}

TFrmZahyoujikuProperty::TFrmZahyoujikuProperty(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("座標軸の設定"));
    resize(637, 420);
    fOk = new QPushButton(QStringLiteral("OK"), this);
    fOk->setDefault(true);
    fCancel = new QPushButton(QStringLiteral("キャンセル"), this);
    fOk->setGeometry(637 - 2 * 90 - 16, 8, 85, 26);
    fCancel->setGeometry(637 - 90 - 16, 8, 85, 26);
    connect(fOk, &QPushButton::clicked, this, [this] { done(1); });
    connect(fCancel, &QPushButton::clicked, this, [this] { done(2); });
    fH = new QGroupBox(QStringLiteral("x 座標"), this);
    fH->setGeometry(10, 47, 302, 364);
    fV = new QGroupBox(QStringLiteral("y 座標"), this);
    fV->setGeometry(fH->geometry().right() + 1 + 10, fH->y(), fH->width(), fH->height());
}

TFrmZahyoujikuProperty::~TFrmZahyoujikuProperty() = default;

void TFrmZahyoujikuProperty::showEvent(QShowEvent *event)
{
    restoreFormPosition(*this, QStringLiteral("zahyoujikuProperty"));
    fV->setGeometry(fH->geometry().right() + 1 + 10, fH->y(), fH->width(), fH->height());
    const int width = fV->geometry().right() + 1 + 16;
    setFixedSize(width, 420);
    fCancel->move(width - 16 - fCancel->width(), 8);
    fOk->move(fCancel->x() - 5 - fOk->width(), 8);
    QDialog::showEvent(event);
}

void TFrmZahyoujikuProperty::hideEvent(QHideEvent *event)
{
    storeFormPosition(*this, QStringLiteral("zahyoujikuProperty"));
    QDialog::hideEvent(event);
}

void TFrmZahyoujikuProperty::keyPressEvent(QKeyEvent *event)
{
    if ((event->modifiers() & Qt::AltModifier) && event->key() >= Qt::Key_A
        && event->key() <= Qt::Key_Z && onAltLetter
        && onAltLetter(QChar(char16_t(u'A' + (event->key() - Qt::Key_A))))) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

TZahyoujikuPropertyFacade::TZahyoujikuPropertyFacade(QWidget *owner)
    : fForm(std::make_unique<TFrmZahyoujikuProperty>(owner))
{
    fAxes[0] = std::make_unique<TAxeInput>(*fForm->gbxHAxe(), 0);
    fAxes[1] = std::make_unique<TAxeInput>(*fForm->gbxVAxe(), 1);
    fForm->setAxeInputs(fAxes[0].get(), fAxes[1].get());
    fForm->onAltLetter
        = [this](QChar letter) { return fAxes[0]->key(letter) || fAxes[1]->key(letter); };
}

TZahyoujikuPropertyFacade::~TZahyoujikuPropertyFacade() = default;

bool TZahyoujikuPropertyFacade::editZahyoujikuProperty(TZahyoujikuProperty &property)
{
    try {
        fAxes[0]->load(property.hAxe);
        fAxes[1]->load(property.vAxe);
    } catch (...) {
        // Rows loaded so far give their labels back as they were.
        fAxes[0]->finish(2);
        fAxes[1]->finish(2);
        throw;
    }
    const int result = fForm->exec() == 1 ? 1 : 2;
    fAxes[0]->finish(result);
    fAxes[1]->finish(result);
    return result == 1;
}

} // namespace zarno
