#include "app/interimfunctiondialog.h"

#include "formula/calcformulafacade.h"
#include "graphs/range.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"
#include "typeset/texsymbol.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace zarno {

namespace {
constexpr int kPreviewHeight = 72;
constexpr double kPreviewPoints = 14;
} // namespace

TInterimFunctionDialog::TInterimFunctionDialog(bool isY, QWidget *parent)
    : QDialog(parent)
    , fIsY(isY)
    , fFacade(TCalcFormulaFacade::createCalcFormulaFacade())
    , fBoundFacade(TCalcFormulaFacade::createCalcFormulaFacade())
{
    TCalcSymbolOnOff onOff;
    (isY ? onOff.yOn : onOff.xOn) = true;
    fFacade->setCalcSymbolOnOff(onOff);
    setWindowTitle(isY ? QStringLiteral("x=g(y)タイプの関数のグラフ")
                       : QStringLiteral("y=f(x)タイプの関数のグラフ"));

    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(isY ? QStringLiteral("x =") : QStringLiteral("y ="), this));
    fFormula = new QLineEdit(this);
    QFont mono = fFormula->font();
    mono.setPointSize(12);
    fFormula->setFont(mono);
    row->addWidget(fFormula, 1);
    layout->addLayout(row);
    fMessage = new QLabel(this);
    fMessage->setWordWrap(true);
    fMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(fMessage);
    fPreview = new QLabel(this);
    fPreview->setMinimumHeight(kPreviewHeight);
    fPreview->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fPreview->setStyleSheet(QStringLiteral("background: white; border: 1px solid #c0c0c0"));
    layout->addWidget(fPreview);

    auto *domain = new QFormLayout;
    const QString var = isY ? QStringLiteral("y") : QStringLiteral("x");
    fMinInf = new QCheckBox(QStringLiteral("下限なし"), this);
    fMaxInf = new QCheckBox(QStringLiteral("上限なし"), this);
    fMin = new QLineEdit(this);
    fMax = new QLineEdit(this);
    auto *minRow = new QHBoxLayout;
    minRow->addWidget(fMin, 1);
    minRow->addWidget(fMinInf);
    auto *maxRow = new QHBoxLayout;
    maxRow->addWidget(fMax, 1);
    maxRow->addWidget(fMaxInf);
    domain->addRow(var + QStringLiteral(" の下限"), minRow);
    domain->addRow(var + QStringLiteral(" の上限"), maxRow);
    layout->addLayout(domain);

    auto *buttons = new QDialogButtonBox(this);
    fOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    for (QLineEdit *e : { fFormula, fMin, fMax })
        connect(e, &QLineEdit::textChanged, this, [this] { check(); });
    for (QCheckBox *c : { fMinInf, fMaxInf })
        connect(c, &QCheckBox::toggled, this, [this] { check(); });
    resize(440, 200);
    check();
}

TInterimFunctionDialog::~TInterimFunctionDialog() = default;

void TInterimFunctionDialog::setValues(const QString &text, const TRange &range)
{
    fFormula->setText(text);
    fMin->setText(range.minText());
    fMax->setText(range.maxText());
    fMinInf->setChecked(range.fMinIsInfinity);
    fMaxInf->setChecked(range.fMaxIsInfinity);
    check();
}

QString TInterimFunctionDialog::text() const
{
    return fFormula->text();
}

void TInterimFunctionDialog::applyRange(TRange &range) const
{
    range.fMinIsInfinity = fMinInf->isChecked();
    range.fMaxIsInfinity = fMaxInf->isChecked();
    range.setMinText(fMin->text());
    range.setMaxText(fMax->text());
}

void TInterimFunctionDialog::check()
{
    fMin->setEnabled(!fMinInf->isChecked());
    fMax->setEnabled(!fMaxInf->isChecked());
    QString message;
    if (fFormula->text().trimmed().isEmpty())
        message = QStringLiteral("式を入力してください。");
    else if (fFacade->compileFormula(fFormula->text()) != 0)
        message = fFacade->errorMessage();
    auto boundOk = [this](const QLineEdit *e, bool unbounded) {
        if (unbounded)
            return true;
        return fBoundFacade->compileFormula(e->text()) == 0
            && std::isfinite(fBoundFacade->calculate());
    };
    if (message.isEmpty() && !boundOk(fMin, fMinInf->isChecked()))
        message = QStringLiteral("下限は定数の式でなければなりません。");
    if (message.isEmpty() && !boundOk(fMax, fMaxInf->isChecked()))
        message = QStringLiteral("上限は定数の式でなければなりません。");
    fMessage->setText(message);
    fOk->setEnabled(message.isEmpty());
    updatePreview();
}

void TInterimFunctionDialog::updatePreview()
{
    // The formula as the typeset text of its tree: the part after an error
    // shows highlighted where the parser stopped.
    if (!TTeXDrawSymbolList::isBuilt())
        return;
    QString tex = (fIsY ? QStringLiteral("x = ") : QStringLiteral("y = "));
    // check() has just analysed the formula, unless it is empty.
    if (!fFormula->text().trimmed().isEmpty())
        tex += fFacade->getTeXString();
    TTeX2ListFacade parser;
    parser.analyze(tex);
    TDrawFormulaFacade layout;
    TBitmap probe(1, 1);
    const TWhdXy box = layout.measure(probe.canvas(), *parser.tokenList(), kPreviewPoints);
    const int margin = 8;
    TBitmap bmp(std::max(fPreview->width() - 2, int(std::ceil(box.width())) + 2 * margin),
        std::max(kPreviewHeight - 2, int(std::ceil(box.totalHeight())) + 2 * margin));
    const double top = (bmp.height() - box.totalHeight()) / 2;
    layout.drawAt(bmp.canvas(), margin, *parser.tokenList(), kPreviewPoints, top - 5);
    fPreviewImage = bmp.toImage();
    fPreview->setPixmap(QPixmap::fromImage(fPreviewImage));
}

bool TInterimFunctionDialogFacade::editFunction(QString &text, TRange &range, bool isY)
{
    TInterimFunctionDialog dialog(isY, fOwner);
    dialog.setValues(text, range);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.text();
    dialog.applyRange(range);
    return true;
}

} // namespace zarno
