#include "app/interimaxesdialog.h"

#include "core/commonprocs.h"
#include "dialogs/frmformula.h"
#include "formula/calcformulafacade.h"
#include "formula/numbertext.h"
#include "labels/writing.h"
#include "labels/zahyoujiku.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace zarno {

namespace {

// The number modes in their order, with the captions of the number dialog.
const char *const kModeCaptions[] = { "有理数", "有理数×π", "上記以外の実数", "度数法の実数" };

bool isRational(int mode)
{
    return mode == int(TNumberMode::nmRational) || mode == int(TNumberMode::nmRationalPi);
}

// The value of a constant formula ("pi/4", "0.5"), NaN when it has none.
double constantValue(const QString &text)
{
    auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
    if (text.trimmed().isEmpty() || calc->compileFormula(text) != 0)
        return std::nan("");
    return calc->calculate();
}

bool isPositiveInteger(const QString &text)
{
    return TCommonProcs::isIntegerString(text.trimmed())
        && TCommonProcs::str2dint(text.trimmed()) > 0
        && TCommonProcs::str2dint(text.trimmed()) < 1000000;
}

} // namespace

TIntervalEditor::TIntervalEditor(bool withSize, QWidget *parent)
    : QWidget(parent)
{
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    fMode = new QComboBox(this);
    for (const char *caption : kModeCaptions)
        fMode->addItem(QString::fromUtf8(caption));
    row->addWidget(fMode);
    fNumerator = new QLineEdit(this);
    fDenominator = new QLineEdit(this);
    fReal = new QLineEdit(this);
    for (QLineEdit *e : { fNumerator, fDenominator })
        e->setMaximumWidth(48);
    row->addWidget(fNumerator);
    row->addWidget(new QLabel(QStringLiteral("/"), this));
    row->addWidget(fDenominator);
    row->addWidget(fReal, 1);
    if (withSize) {
        fSize = new QComboBox(this);
        for (int pt : formulaFontSizes())
            fSize->addItem(QString::number(pt), pt);
        row->addWidget(new QLabel(QStringLiteral("pt"), this));
        row->insertWidget(row->count() - 1, fSize);
    }
    connect(fMode, &QComboBox::currentIndexChanged, this, [this] { showMode(); });
    showMode();
}

void TIntervalEditor::showMode()
{
    const bool rational = isRational(fMode->currentIndex());
    fNumerator->setVisible(rational);
    fDenominator->setVisible(rational);
    layout()->itemAt(2)->widget()->setVisible(rational);
    fReal->setVisible(!rational);
}

void TIntervalEditor::load(const TWriting &writing)
{
    const int mode = int(writing.numberMode());
    const bool rational = isRational(mode);
    fMode->setCurrentIndex(mode);
    fNumerator->setText(rational ? writing.numeratorStr() : QStringLiteral("1"));
    fDenominator->setText(rational ? writing.denominatorStr() : QStringLiteral("1"));
    fReal->setText(rational ? QStringLiteral("1") : writing.realStr());
    if (fSize) {
        // A size the list does not have takes its nearest neighbour below.
        int index = 0;
        for (int i = 0; i < fSize->count(); ++i)
            if (fSize->itemData(i).toInt() <= writing.pt())
                index = i;
        fSize->setCurrentIndex(index);
    }
    showMode();
}

bool TIntervalEditor::check(QString &message) const
{
    const int mode = fMode->currentIndex();
    if (isRational(mode)) {
        if (!isPositiveInteger(fNumerator->text()) || !isPositiveInteger(fDenominator->text())) {
            message = QStringLiteral("分子と分母は正の整数でなければなりません。");
            return false;
        }
        return true;
    }
    const double v = constantValue(fReal->text());
    if (!std::isfinite(v)) {
        message = QStringLiteral("数式にエラーがあります。");
        return false;
    }
    if (!(v > 0)) {
        message = QStringLiteral("数値が必要な範囲を外れています。");
        return false;
    }
    return true;
}

void TIntervalEditor::store(TWriting &writing) const
{
    const int pt = fSize ? fSize->currentData().toInt() : writing.pt();
    const QString n = fNumerator->text().trimmed(), d = fDenominator->text().trimmed();
    // A formula is kept as its value, as the number dialog keeps it.
    const QString real = TNumberText::formatGeneral15(constantValue(fReal->text()));
    switch (TNumberMode(fMode->currentIndex())) {
    case TNumberMode::nmRational: writing.setRationalNumber(n, d, pt); break;
    case TNumberMode::nmRationalPi: writing.setRationalNumberPi(n, d, pt); break;
    case TNumberMode::nmReal: writing.setRealNumber(real, pt); break;
    case TNumberMode::nmDegree: writing.setDegreeNumber(real, pt); break;
    }
}

TInterimAxesDialog::TInterimAxesDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("座標軸の設定"));
    auto *layout = new QVBoxLayout(this);
    auto *axesRow = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto *box
            = new QGroupBox(i == 0 ? QStringLiteral("x 座標") : QStringLiteral("y 座標"), this);
        auto *form = new QFormLayout(box);
        Axis &a = fAxes[std::size_t(i)];
        a.name = new QLineEdit(box);
        a.name->setMaxLength(100);
        form->addRow(QStringLiteral("軸の名前"), a.name);
        a.scaleOn = new QCheckBox(QStringLiteral("目盛りと数値を表示する"), box);
        form->addRow(a.scaleOn);
        a.scale = new TIntervalEditor(true, box);
        form->addRow(QStringLiteral("目盛りの間隔"), a.scale);
        a.gridOn = new QCheckBox(QStringLiteral("グリッドを表示する"), box);
        form->addRow(a.gridOn);
        a.grid = new TIntervalEditor(false, box);
        form->addRow(QStringLiteral("グリッドの間隔"), a.grid);
        axesRow->addWidget(box);
        for (TIntervalEditor *e : { a.scale, a.grid }) {
            connect(e->modeBox(), &QComboBox::currentIndexChanged, this, [this] { check(); });
            for (QLineEdit *edit : { e->numeratorEdit(), e->denominatorEdit(), e->realEdit() })
                connect(edit, &QLineEdit::textChanged, this, [this] { check(); });
        }
        connect(a.name, &QLineEdit::textChanged, this, [this] { check(); });
    }
    layout->addLayout(axesRow);
    fMessage = new QLabel(this);
    fMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(fMessage);
    auto *buttons = new QDialogButtonBox(this);
    fOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    fOk->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
}

TInterimAxesDialog::~TInterimAxesDialog() = default;

void TInterimAxesDialog::load(const TZahyoujikuProperty &property)
{
    for (int i = 0; i < 2; ++i) {
        const TAxeProperty &axe = property.axe(i);
        Axis &a = fAxes[std::size_t(i)];
        a.name->setText(axe.nameLabel ? axe.nameLabel->text() : QString());
        a.name->setEnabled(axe.nameLabel != nullptr);
        a.scaleOn->setChecked(axe.scaleInterval().view());
        a.scale->load(axe.scaleInterval());
        a.gridOn->setChecked(axe.gridlineInterval().view());
        a.grid->load(axe.gridlineInterval());
    }
    check();
}

void TInterimAxesDialog::store(TZahyoujikuProperty &property) const
{
    for (int i = 0; i < 2; ++i) {
        TAxeProperty &axe = property.axe(i);
        const Axis &a = fAxes[std::size_t(i)];
        if (axe.nameLabel && !a.name->text().trimmed().isEmpty())
            axe.nameLabel->setText(a.name->text());
        axe.scaleInterval().setView(a.scaleOn->isChecked());
        a.scale->store(axe.scaleInterval());
        axe.gridlineInterval().setView(a.gridOn->isChecked());
        a.grid->store(axe.gridlineInterval());
    }
}

void TInterimAxesDialog::check()
{
    QString message;
    bool ok = true;
    for (const Axis &a : fAxes)
        for (const TIntervalEditor *e : { a.scale, a.grid })
            ok = ok && e->check(message);
    fMessage->setText(message);
    fOk->setEnabled(ok);
}

bool TInterimAxesDialogFacade::editZahyoujikuProperty(TZahyoujikuProperty &property)
{
    TInterimAxesDialog dialog(fOwner);
    dialog.load(property);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.store(property);
    return true;
}

} // namespace zarno
