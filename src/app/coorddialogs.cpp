#include "app/coorddialogs.h"

#include "app/previewbox.h"
#include "dialogs/formplace.h"
#include "formula/calcformulafacade.h"
#include "labels/shapevariable2value.h"
#include "labels/writing.h"
#include "labels/zahyouproperty.h"
#include "model/zahyou.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zarno {

namespace {

// The preview and the formula dialog work on a facade of their own with the
// point's variable switch: analysing a text on the point's own facade would
// leave it compiled for that text, also when the dialog is cancelled.
std::unique_ptr<TCalcFormulaFacade> scratchLike(const TCalcFormulaFacade &facade)
{
    auto scratch = TCalcFormulaFacade::createCalcFormulaFacade();
    scratch->setCalcSymbolOnOff(facade.calcSymbolOnOff());
    return scratch;
}

// A formula typeset for a preview; answers whether it has an error (in the
// formula or in its typeset text).
bool drawCalcFormula(
    const TCalcFormulaFacade &facade, const QString &formula, TCanvas &canvas, int height, int pt)
{
    auto scratch = scratchLike(facade);
    const bool calcError = scratch->analyzeFormula(formula) != 0;
    const bool texError = drawTeXCentred(canvas, height, scratch->getTeXString(), pt);
    return calcError || texError;
}

// OK answers 1, cancel 2, as the facades report them.
QHBoxLayout *okCancelRow(QDialog &dialog, QPushButton *&ok)
{
    QPushButton *cancel = nullptr;
    QHBoxLayout *row = zarno::okCancelRow(dialog, ok, cancel);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(1); });
    QObject::connect(cancel, &QPushButton::clicked, &dialog, [&dialog] { dialog.done(2); });
    return row;
}

} // namespace

// ---------------------------------------------------------------- coordinates

TFrmInputZahyou::TFrmInputZahyou(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("点の座標の入力"));
    auto *layout = new QVBoxLayout(this);
    const char *titles[] = { "x 座標", "y 座標" };
    const char *freeCaptions[] = { "自由移動(&F)", "自由移動(&G)" };
    const char *labels[] = { "(&X)", "(&Y)" };
    for (int i = 0; i < 2; ++i) {
        auto *box = new QGroupBox(QString::fromUtf8(titles[i]), this);
        auto *grid = new QGridLayout(box);
        fFree[std::size_t(i)] = new QCheckBox(QString::fromUtf8(freeCaptions[i]), box);
        grid->addWidget(fFree[std::size_t(i)], 0, 0, 1, 2);
        auto *label = new QLabel(acceleratorCaption(QString::fromUtf8(labels[i])), box);
        grid->addWidget(label, 1, 0, Qt::AlignVCenter);
        auto *preview = new TPreviewBox(box);
        preview->setMinimumSize(360, 60);
        grid->addWidget(preview, 1, 1);
        grid->setColumnStretch(1, 1);
        fPreview[std::size_t(i)] = preview;
        fGroup[std::size_t(i)] = box;
        layout->addWidget(box, 1);
        preview->setPainter([this, i](TCanvas &canvas, int, int h) { paintPreview(i, canvas, h); });
        preview->setOnClick([this, i] { editFormula(i); });
        connect(fFree[std::size_t(i)], &QCheckBox::clicked, this, [this, i] { freeClicked(i); });
        // The label's accelerator opens the formula, as a click on the box does.
        auto *shortcut
            = new QShortcut(QKeySequence(Qt::ALT | (i == 0 ? Qt::Key_X : Qt::Key_Y)), this);
        connect(shortcut, &QShortcut::activated, this, [this, i] {
            if (!(fFree[std::size_t(i)]->isVisible() && fFree[std::size_t(i)]->isChecked()))
                editFormula(i);
        });
    }
    layout->addLayout(okCancelRow(*this, fOk));
}

TFrmInputZahyou::~TFrmInputZahyou() = default;

int TFrmInputZahyou::run(TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou)
{
    fFacade[0] = &facadeX;
    fFacade[1] = &facadeY;
    fZahyou = &zahyou;
    fError = { 1, 1 };
    for (int i = 0; i < 2; ++i) {
        fFree[std::size_t(i)]->setVisible(zahyou.canBeFree());
        fFree[std::size_t(i)]->setChecked(i == 0 ? zahyou.fXfree() : zahyou.fYfree());
    }
    refresh();
    const int result = exec() == 1 ? 1 : 2;
    fZahyou = nullptr;
    fFacade[0] = fFacade[1] = nullptr;
    return result;
}

void TFrmInputZahyou::showEvent(QShowEvent *event)
{
    restoreFormPosition(*this, QStringLiteral("inputZahyou"));
    QDialog::showEvent(event);
}

void TFrmInputZahyou::hideEvent(QHideEvent *event)
{
    storeFormPosition(*this, QStringLiteral("inputZahyou"));
    QDialog::hideEvent(event);
}

void TFrmInputZahyou::paintPreview(int axis, TCanvas &canvas, int height)
{
    if (!fZahyou)
        return;
    const QString &text = axis == 0 ? fZahyou->xstr() : fZahyou->ystr();
    fError[std::size_t(axis)]
        = drawCalcFormula(*fFacade[axis], text, canvas, height, fZahyou->formulaFontPt) ? 1 : 0;
}

void TFrmInputZahyou::refresh()
{
    if (!fZahyou)
        return;
    for (int i = 0; i < 2; ++i) {
        const bool free = i == 0 ? fZahyou->fXfree() : fZahyou->fYfree();
        fPreview[std::size_t(i)]->setEnabled(!free);
        fPreview[std::size_t(i)]->refresh();
    }
    fOk->setEnabled((fZahyou->fXfree() || fError[0] == 0) && (fZahyou->fYfree() || fError[1] == 0));
}

void TFrmInputZahyou::freeClicked(int axis)
{
    if (!fZahyou)
        return;
    if (axis == 0)
        fZahyou->setFXfree(fFree[0]->isChecked());
    else
        fZahyou->setFYfree(fFree[1]->isChecked());
    refresh();
}

void TFrmInputZahyou::editFormula(int axis)
{
    if (!fZahyou || !fPreview[std::size_t(axis)]->isEnabled())
        return;
    QString text = axis == 0 ? fZahyou->xstr() : fZahyou->ystr();
    int pt = fZahyou->formulaFontPt;
    auto scratch = scratchLike(*fFacade[axis]);
    if (!TCalcFormulaDialogFacade::edit(
            QStringLiteral("inputZahyou"), *scratch, text, pt, text == QStringLiteral("0")))
        return;
    if (axis == 0)
        fZahyou->setXstr(text);
    else
        fZahyou->setYstr(text);
    refresh();
}

TZahyouFacade::TZahyouFacade(QWidget *owner)
    : fForm(std::make_unique<TFrmInputZahyou>(owner))
{ }

TZahyouFacade::~TZahyouFacade() = default;

int TZahyouFacade::editZahyou(
    TCalcFormulaFacade &facadeX, TCalcFormulaFacade &facadeY, TZahyou &zahyou)
{
    return fForm->run(facadeX, facadeY, zahyou);
}

// ------------------------------------------------------ display of a read-out

TFrmInputZahyouProperty::TFrmInputZahyouProperty(QWidget *parent)
    : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(acceleratorCaption(QStringLiteral("ラベル(&L)")), this));
    fNamePreview = new TPreviewBox(this);
    fNamePreview->setMinimumSize(300, 56);
    nameRow->addWidget(fNamePreview, 1);
    layout->addLayout(nameRow);
    fNamePreview->setPainter([this](TCanvas &canvas, int w, int h) {
        if (fName) {
            fName->renderBitmap(kColorBlack);
            fName->drawInDialog(canvas, w, h);
        }
    });
    fNamePreview->setOnClick([this] { editName(); });

    auto *valueRow = new QHBoxLayout;
    fValueLabel = new QLabel(acceleratorCaption(QStringLiteral("値(&V)")), this);
    valueRow->addWidget(fValueLabel);
    fValuePreview = new TPreviewBox(this);
    fValuePreview->setMinimumSize(300, 56);
    valueRow->addWidget(fValuePreview, 1);
    layout->addLayout(valueRow);
    fValuePreview->setPainter([this](TCanvas &canvas, int, int h) {
        if (fFacade)
            drawCalcFormula(*fFacade, fValueStr, canvas, h, 11);
    });
    fValuePreview->setOnClick([this] { editValueFormula(); });

    auto *digitsRow = new QHBoxLayout;
    auto *digitsLabel = new QLabel(
        QStringLiteral("小数点以下の桁数(1～%1)(&D)").arg(TZahyouProperty::kMaxDigits), this);
    digitsRow->addWidget(digitsLabel);
    fDigits = new QSpinBox(this);
    digitsLabel->setBuddy(fDigits); // Alt+D
    fDigits->setRange(TZahyouProperty::kMinDigits, TZahyouProperty::kMaxDigits);
    fDigits->setStyleSheet(QStringLiteral("QSpinBox { background: #dadac0; }"));
    digitsRow->addWidget(fDigits);
    digitsRow->addStretch(1);
    layout->addLayout(digitsRow);

    const char *forms[] = { "実数", "実数×π", "度数法", "非表示" };
    const char letters[2][4] = { { 'R', 'P', 'G', 'I' }, { 'S', 'Q', 'H', 'J' } };
    auto *groups = new QHBoxLayout;
    QFont gothic(QStringLiteral("ＭＳ Ｐゴシック"), 10);
    for (int g = 0; g < 2; ++g) {
        auto *box = new QGroupBox(this);
        box->setFont(gothic);
        auto *column = new QVBoxLayout(box);
        fGroup[std::size_t(g)] = new QButtonGroup(box);
        for (int i = 0; i < 4; ++i) {
            auto *radio = new QRadioButton(QString::fromUtf8(forms[i]) + QStringLiteral("(&")
                    + QChar::fromLatin1(letters[g][i]) + QStringLiteral(")"),
                box);
            fGroup[std::size_t(g)]->addButton(radio, i);
            column->addWidget(radio);
        }
        fGroupBox[std::size_t(g)] = box;
        groups->addWidget(box);
    }
    layout->addLayout(groups, 1);
    layout->addLayout(okCancelRow(*this, fOk));

    auto *altL = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_L), this);
    connect(altL, &QShortcut::activated, this, [this] { editName(); });
    auto *altV = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_V), this);
    connect(altV, &QShortcut::activated, this, [this] {
        if (fValueMode)
            editValueFormula();
    });
}

TFrmInputZahyouProperty::~TFrmInputZahyouProperty() = default;

QRadioButton *TFrmInputZahyouProperty::scaleRadio(int group, int index) const
{
    return static_cast<QRadioButton *>(fGroup[std::size_t(group)]->button(index));
}

int TFrmInputZahyouProperty::checkedIn(int group) const
{
    const int id = fGroup[std::size_t(group)]->checkedId();
    return id < 0 ? 0 : id;
}

void TFrmInputZahyouProperty::check(int group, TZahyouScaletype type)
{
    scaleRadio(group, int(type))->setChecked(true);
}

void TFrmInputZahyouProperty::layoutForMode()
{
    fValueLabel->setVisible(fValueMode);
    fValuePreview->setVisible(fValueMode);
    fGroupBox[1]->setVisible(!fValueMode);
    fGroupBox[0]->setTitle(fValueMode ? QStringLiteral("数値の種類") : QStringLiteral("x 座標"));
    fGroupBox[1]->setTitle(QStringLiteral("y 座標"));
    setWindowTitle(fValueMode ? QStringLiteral("形の属性を使った式の表示設定")
                              : QStringLiteral("座標の表示設定"));
    adjustSize();
    resize(width(), fValueMode ? 440 : 360);
    fNamePreview->refresh();
    fValuePreview->refresh();
}

bool TFrmInputZahyouProperty::editZahyouProperty(TZahyouProperty &property)
{
    fValueMode = false;
    fName = &property.name();
    fFacade = nullptr;
    fName->pushCurrent();
    fDigits->setValue(property.digits);
    check(0, property.xScaletype);
    check(1, property.yScaletype);
    layoutForMode();
    const bool ok = exec() == 1;
    if (ok) {
        property.xScaletype = TZahyouScaletype(checkedIn(0));
        property.yScaletype = TZahyouScaletype(checkedIn(1));
        property.digits = fDigits->value();
        fName->clearPushed();
    } else {
        fName->pop();
    }
    fName = nullptr;
    return ok;
}

int TFrmInputZahyouProperty::editValue(TCalcFormulaFacade &facade, TValueDisplay &value)
{
    fValueMode = true;
    fName = value.name;
    fFacade = &facade;
    fValueStr = value.valueStr;
    fDigits->setValue(value.digits);
    check(0, value.scaletype);
    layoutForMode();
    const int result = exec() == 1 ? 1 : 2;
    if (result == 1) {
        value.scaletype = TZahyouScaletype(checkedIn(0));
        value.digits = fDigits->value();
        value.valueStr = fValueStr;
    }
    fName = nullptr;
    fFacade = nullptr;
    return result;
}

void TFrmInputZahyouProperty::editName()
{
    if (fName && editWritingOwn(*fName))
        fNamePreview->refresh();
}

void TFrmInputZahyouProperty::editValueFormula()
{
    if (!fFacade)
        return;
    QString text = fValueStr;
    int pt = 11;
    auto scratch = scratchLike(*fFacade);
    if (TCalcFormulaDialogFacade::edit(
            QStringLiteral("zahyouProperty"), *scratch, text, pt, text == QStringLiteral("0"))) {
        fValueStr = text;
        fValuePreview->refresh();
    }
}

void TFrmInputZahyouProperty::showEvent(QShowEvent *event)
{
    restoreFormPosition(*this, QStringLiteral("inputZahyouProperty"));
    QDialog::showEvent(event);
}

void TFrmInputZahyouProperty::hideEvent(QHideEvent *event)
{
    storeFormPosition(*this, QStringLiteral("inputZahyouProperty"));
    QDialog::hideEvent(event);
}

TZahyouPropertyFacade::TZahyouPropertyFacade(QWidget *owner)
    : fForm(std::make_unique<TFrmInputZahyouProperty>(owner))
{ }

TZahyouPropertyFacade::~TZahyouPropertyFacade() = default;

bool TZahyouPropertyFacade::editZahyouProperty(TZahyouProperty &property)
{
    return fForm->editZahyouProperty(property);
}

int TZahyouPropertyFacade::editValue(TCalcFormulaFacade &facade, TValueDisplay &value)
{
    return fForm->editValue(facade, value);
}

TValueLabelFacade::TValueLabelFacade(QWidget *owner)
    : fForm(std::make_unique<TFrmInputZahyouProperty>(owner))
{ }

TValueLabelFacade::~TValueLabelFacade() = default;

bool TValueLabelFacade::editValue(TCalcFormulaFacade &facade, TShapeVariable2value &value)
{
    // The name is edited in place; the caller saved it with the rest.
    TValueDisplay display { &value.name(), value.valueStr, value.scaletype,
        value.ketasuuBelowPoint };
    if (fForm->editValue(facade, display) != 1)
        return false;
    value.valueStr = display.valueStr;
    value.scaletype = display.scaletype;
    value.ketasuuBelowPoint = display.digits;
    return true;
}

} // namespace zarno
