#include "dialogs/frminputnumber.h"

#include "core/appinfo.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "dialogs/formplace.h"
#include "dialogs/formulafacade.h"
#include "dialogs/frmformula.h"
#include "formula/calcformulafacade.h"
#include "labels/writing.h"
#include "platform/bitmap.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace zarno {

namespace {

constexpr double kTolerance = 1e-5;

const QString kFormulaError = QStringLiteral("数式にエラーがあります。");
const QString kDenominatorError = QStringLiteral("分母は0より大きくなければなりません。");
const QString kRangeError = QStringLiteral("数値が必要な範囲を外れています。");

bool isFractionMode(TNumberMode mode)
{
    return mode == TNumberMode::nmRational || mode == TNumberMode::nmRationalPi;
}

bool isInteger(const QString &text, long long &value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok;
}

} // namespace

TNumberEdit::TNumberEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setMaxLength(10);
    setFixedSize(50, 24);
    connect(this, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.isEmpty() && !fDefault.isEmpty()) {
            setText(fDefault);
            selectAll();
        }
    });
}

void TNumberEdit::setIntegerAndDefault(const QString &text)
{
    fMode = 2;
    fDefault = text;
    setText(text);
}

void TNumberEdit::mode2PlusIntegerAndSetDefault(const QString &text)
{
    long long v = 0;
    if (!isInteger(text, v) || v <= 0)
        throw EMyException(QStringLiteral("TNumberEdit"),
            { fmtArg(QStringLiteral("正の整数")), fmtArg(text) },
            QStringLiteral("%sに変換できない文字列(%s)です。"),
            QStringLiteral("mode2PlusIntegerAndSetDefault"));
    fMode = 3;
    fDefault = text;
    setText(text);
}

void TNumberEdit::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        if (fEnter) {
            fEnter();
            event->accept();
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    const QString text = event->text();
    const bool isCharacter = !text.isEmpty() && text.at(0).isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (isCharacter) {
        const QChar c = text.at(0);
        const bool allowed = c.isDigit() && c.unicode() < 128 ? true
            : c == QLatin1Char('-')                           ? fMode != 3
            : c == QLatin1Char('.')                           ? fMode == 0 || fMode == 1
                                                              : false;
        if (!allowed) {
            event->accept();
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void TNumberEdit::mousePressEvent(QMouseEvent *event)
{
    QLineEdit::mousePressEvent(event);
    selectAll();
}

TFrmInputNumber::TFrmInputNumber(QWidget *parent)
    : QDialog(parent)
    , fCalc(TCalcFormulaFacade::createCalcFormulaFacade())
{
    setFormFont(*this);
    auto *layout = new QVBoxLayout(this);
    auto *upper = new QHBoxLayout;

    auto *typeBox = new QGroupBox(QStringLiteral("数値の種類"), this);
    QFont gothic(QStringLiteral("ＭＳ Ｐゴシック"));
    gothic.setPointSize(10);
    typeBox->setFont(gothic);
    auto *typeLayout = new QVBoxLayout(typeBox);
    fTypes = new QButtonGroup(this);
    const QString captions[] = { QStringLiteral("有理数(&R)"), QStringLiteral("有理数×π(&P)"),
        QStringLiteral("上記以外の実数(&O)"), QStringLiteral("度数法の実数(&G)") };
    for (int i = 0; i < 4; ++i) {
        auto *b = new QRadioButton(captions[i], typeBox);
        fTypes->addButton(b, i);
        typeLayout->addWidget(b);
    }
    upper->addWidget(typeBox);

    auto *right = new QVBoxLayout;
    fFraction = new QGroupBox(QStringLiteral("有理数"), this);
    auto *grid = new QGridLayout(fFraction);
    auto *numeratorLabel = new QLabel(QStringLiteral("分子(&N)"), fFraction);
    auto *denominatorLabel = new QLabel(QStringLiteral("分母(&D)"), fFraction);
    fNumerator = new TNumberEdit(fFraction);
    fDenominator = new TNumberEdit(fFraction);
    numeratorLabel->setBuddy(fNumerator);
    denominatorLabel->setBuddy(fDenominator);
    grid->addWidget(numeratorLabel, 0, 0);
    grid->addWidget(fNumerator, 0, 1);
    grid->addWidget(denominatorLabel, 1, 0);
    grid->addWidget(fDenominator, 1, 1);
    grid->setColumnStretch(2, 1);
    grid->setHorizontalSpacing(10);
    right->addWidget(fFraction);

    auto *formulaRow = new QHBoxLayout;
    fFormulaIcon = new QLabel(this);
    fFormulaIcon->setText(QStringLiteral("<i>f</i>(<i>x</i>)"));
    fFormulaLabel = new QLabel(QStringLiteral("(&C)"), this);
    fFormula = new QLineEdit(this);
    fFormula->setMaxLength(100);
    fFormula->setMinimumWidth(180);
    fFormulaLabel->setBuddy(fFormula);
    formulaRow->addWidget(fFormulaIcon);
    formulaRow->addWidget(fFormulaLabel);
    formulaRow->addWidget(fFormula, 1);
    right->addLayout(formulaRow);

    auto *sizeRow = new QHBoxLayout;
    fSizeLabel = new QLabel(QStringLiteral("フォントサイズ(&F)"), this);
    fSize = new QComboBox(this);
    for (int size : formulaFontSizes())
        fSize->addItem(QString::number(size), size);
    fSizeLabel->setBuddy(fSize);
    sizeRow->addWidget(fSizeLabel);
    sizeRow->addWidget(fSize);
    sizeRow->addStretch(1);
    right->addLayout(sizeRow);
    right->addStretch(1);
    upper->addLayout(right, 1);
    layout->addLayout(upper);

    fPreview = new TFormulaPreviewBox(this);
    fPreview->setMinimumHeight(100);
    layout->addWidget(fPreview, 1);
    fStatus = new QLabel(this);
    fStatus->setStyleSheet(QStringLiteral("color: #b00000"));
    fStatus->setMinimumHeight(fStatus->fontMetrics().height() + 4);
    layout->addWidget(fStatus);

    layout->addLayout(okCancelRow(*this, fOk, fCancel));

    connect(fOk, &QPushButton::clicked, this, &TFrmInputNumber::accept);
    connect(fCancel, &QPushButton::clicked, this, &TFrmInputNumber::reject);
    connect(fTypes, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on && !fLoading)
            typeChanged();
    });
    for (QLineEdit *e :
        { static_cast<QLineEdit *>(fNumerator), static_cast<QLineEdit *>(fDenominator), fFormula })
        connect(e, &QLineEdit::textChanged, this, [this] {
            if (!fLoading)
                check();
        });
    connect(fFormula, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (text.isEmpty()) {
            fFormula->setText(QStringLiteral("1"));
            fFormula->selectAll();
        }
    });
    connect(fSize, &QComboBox::currentIndexChanged, this, [this] {
        if (!fLoading)
            updatePreview();
    });

    setTabOrder(fTypes->button(0), fNumerator);
    setTabOrder(fNumerator, fDenominator);
    setTabOrder(fDenominator, fFormula);
    setTabOrder(fFormula, fSize);
    setTabOrder(fSize, fOk);
    setTabOrder(fOk, fCancel);
    resize(460, 340);
}

TFrmInputNumber::~TFrmInputNumber() = default;

QRadioButton *TFrmInputNumber::typeButton(TNumberMode mode) const
{
    return static_cast<QRadioButton *>(fTypes->button(ord(mode)));
}

TNumberMode TFrmInputNumber::numberMode() const
{
    const int id = fTypes->checkedId();
    if (id < 0 || id > 3)
        throw ESouteigai(QStringLiteral("TFrmInputNumber"),
            { fmtArg(QStringLiteral("TNumberMode")), fmtArg(id) },
            QStringLiteral("列挙型(%s)には, %d番目の要素はありません。"),
            QStringLiteral("int2NumberMode"));
    return TNumberMode(id);
}

const QImage &TFrmInputNumber::previewImage() const
{
    return fPreview->image();
}

int TFrmInputNumber::pt() const
{
    return fSize->currentData().toInt();
}

int TFrmInputNumber::editNumber(double min, double max, TWriting &writing)
{
    fMin = min;
    fMax = max;
    fSizeLabel->setVisible(writing.sizeSelectable());
    fSize->setVisible(writing.sizeSelectable());
    fLoading = true;
    if (min >= 0) {
        setWindowTitle(QStringLiteral("正の実数の入力"));
        fNumerator->mode2PlusIntegerAndSetDefault(QStringLiteral("1"));
    } else {
        setWindowTitle(QStringLiteral("実数の入力"));
        fNumerator->setIntegerAndDefault(QStringLiteral("1"));
    }
    fDenominator->mode2PlusIntegerAndSetDefault(QStringLiteral("1"));
    const QString stored[]
        = { writing.numeratorStr(), writing.denominatorStr(), writing.realStr() };
    fNumerator->setText(stored[0]);
    fDenominator->setText(stored[1]);
    fFormula->setText(stored[2]);
    for (const QString &s : stored)
        if (s.isEmpty())
            throw ESouteigai(QStringLiteral("TFrmInputNumber"),
                { fmtArg(QStringLiteral("calcStrPt")) },
                QStringLiteral("%sの初期値が不適切な値です。"), QStringLiteral("inputNumber"));
    typeButton(writing.numberMode())->setChecked(true);
    selectFontSize(*fSize, writing.pt());
    fLoading = false;

    fWriting = &writing;
    writing.pushCurrent();
    int result = 2;
    try {
        result = exec() == QDialog::Accepted ? 1 : 2;
    } catch (...) {
        // An exception leaves the label as it was.
        writing.pop();
        fWriting = nullptr;
        fSizeLabel->setVisible(true);
        fSize->setVisible(true);
        throw;
    }
    fWriting = nullptr;
    fSizeLabel->setVisible(true);
    fSize->setVisible(true);
    return result;
}

void TFrmInputNumber::showEvent(QShowEvent *event)
{
    if (!fWriting)
        throw ESouteigai(QStringLiteral("TFrmInputNumber"), { fmtArg(QStringLiteral("calcStrPt")) },
            QStringLiteral("%s=nilです。"), QStringLiteral("formShow"));
    readFormPos(*this, QStringLiteral("inputNumber"));
    QDialog::showEvent(event);
    fOk->setEnabled(true);
    typeChanged();
}

void TFrmInputNumber::hideEvent(QHideEvent *event)
{
    writeFormPos(*this, QStringLiteral("inputNumber"));
    QDialog::hideEvent(event);
}

void TFrmInputNumber::typeChanged()
{
    const bool fraction = isFractionMode(numberMode());
    fFraction->setVisible(fraction);
    fFormula->setVisible(!fraction);
    fFormulaLabel->setVisible(!fraction);
    fFormulaIcon->setVisible(!fraction);
    if (fraction)
        fNumerator->setFocus();
    else
        fFormula->setFocus();
    check();
}

bool TFrmInputNumber::inside(double v) const
{
    return v > fMin && v < fMax && std::abs(v - fMin) > kTolerance
        && std::abs(v - fMax) > kTolerance;
}

void TFrmInputNumber::check()
{
    if (!fWriting)
        return;
    QString message;
    if (isFractionMode(numberMode())) {
        long long n = 0, d = 0;
        if (!isInteger(fNumerator->text(), n) || !isInteger(fDenominator->text(), d))
            message = kFormulaError;
        else if (d <= 0)
            message = kDenominatorError;
        else if (!inside(double(n) / double(d)))
            message = kRangeError;
    } else {
        fCalc->compileFormula(fFormula->text());
        const double v = fCalc->calculate();
        if (!std::isfinite(v))
            message = kFormulaError;
        else if (!inside(v))
            message = kRangeError;
    }
    fStatus->setText(message);
    fOk->setEnabled(message.isEmpty());
    updatePreview();
}

void TFrmInputNumber::takeInput()
{
    const TNumberMode mode = numberMode();
    switch (mode) {
    case TNumberMode::nmRational:
        fWriting->setRationalNumber(fNumerator->text(), fDenominator->text(), pt());
        break;
    case TNumberMode::nmRationalPi:
        fWriting->setRationalNumberPi(fNumerator->text(), fDenominator->text(), pt());
        break;
    case TNumberMode::nmReal:
    case TNumberMode::nmDegree: {
        QString text = fFormula->text();
        // The label keeps the number, not the formula that gave it, and the
        // preview shows it so; a formula without a value shows as typed.
        fCalc->compileFormula(text);
        const double v = fCalc->calculate();
        if (std::isfinite(v))
            text = QString::number(v, 'g', 15);
        if (mode == TNumberMode::nmReal)
            fWriting->setRealNumber(text, pt());
        else
            fWriting->setDegreeNumber(text, pt());
        break;
    }
    }
}

void TFrmInputNumber::updatePreview()
{
    if (!fWriting)
        return;
    takeInput();
    const QSize size = fPreview->size().expandedTo(QSize(300, 100));
    TBitmap bitmap(size.width(), size.height());
    TCanvas &canvas = bitmap.canvas();
    canvas.setBrushColor(kPreviewBackground);
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(QPoint(0, 0), size));
    fWriting->drawInDialog(canvas, size.width(), size.height());
    fPreview->setImage(bitmap.toImage());
}

void TFrmInputNumber::accept()
{
    if (!fWriting || !fOk->isEnabled())
        return; // unacceptable input never closes the dialog
    takeInput();
    fWriting->clearPushed();
    QDialog::accept();
}

void TFrmInputNumber::reject()
{
    if (!fWriting) {
        QDialog::reject();
        return;
    }
    if (fWriting->differsFromPushed()
        && askAppMessage(QStringLiteral("入力を破棄してもかまいませんか？"), TAppInfo::caption(),
               mbYes | mbNo, TMsgDlgType::mtConfirmation)
            != TModalResult::mrYes)
        return;
    fWriting->pop();
    QDialog::reject();
}

} // namespace zarno
