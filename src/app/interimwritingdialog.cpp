#include "app/interimwritingdialog.h"

#include "core/appinfo.h"
#include "core/messagedialogs.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"
#include "typeset/texsymbol.h"

#include <QComboBox>
#include <QDialogButtonBox>
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
constexpr int kPreviewHeight = 96;
constexpr int kMaxTextLength = 100;
} // namespace

const QList<int> &TInterimWritingDialog::sizes()
{
    static const QList<int> list { 11, 12, 14, 16, 18, 20, 24, 26, 28, 36, 48, 72 };
    return list;
}

TInterimWritingDialog::TInterimWritingDialog(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("表示用数式入力"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("文字列(&T)"), this));
    fText = new QLineEdit(this);
    fText->setMaxLength(kMaxTextLength);
    QFont mono = fText->font();
    mono.setPointSize(12);
    fText->setFont(mono);
    row->addWidget(fText, 1);
    auto *sizeLabel = new QLabel(QStringLiteral("フォントサイズ(&F)"), this);
    row->addWidget(sizeLabel);
    fSize = new QComboBox(this);
    for (int pt : sizes())
        fSize->addItem(QString::number(pt), pt);
    sizeLabel->setBuddy(fSize);
    row->addWidget(fSize);
    layout->addLayout(row);
    fMessage = new QLabel(this);
    fMessage->setWordWrap(true);
    fMessage->setStyleSheet(QStringLiteral("color: #b00000"));
    layout->addWidget(fMessage);
    fPreview = new QLabel(this);
    fPreview->setMinimumHeight(kPreviewHeight);
    fPreview->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fPreview->setStyleSheet(QStringLiteral("background: white; border: 1px solid #c0c0c0"));
    layout->addWidget(fPreview, 1);

    auto *buttons = new QDialogButtonBox(this);
    fOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    fOk->setDefault(true);
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(fText, &QLineEdit::textChanged, this, [this] { check(); });
    connect(fSize, &QComboBox::currentIndexChanged, this, [this] { check(); });
    resize(480, 220);
    check();
}

TInterimWritingDialog::~TInterimWritingDialog() = default;

void TInterimWritingDialog::setValues(const QString &text, int pt)
{
    fText->setText(text);
    fText->selectAll();
    // A size the list does not have takes its nearest neighbour below.
    int index = 0;
    for (int i = 0; i < sizes().size(); ++i)
        if (sizes()[i] <= pt)
            index = i;
    fSize->setCurrentIndex(index);
    check();
}

QString TInterimWritingDialog::text() const
{
    return fText->text();
}

int TInterimWritingDialog::pt() const
{
    return fSize->currentData().toInt();
}

void TInterimWritingDialog::check()
{
    if (!TTeXDrawSymbolList::isBuilt())
        return;
    TTeX2ListFacade parser;
    fError = parser.analyze(fText->text());
    fMessage->setText(fError ? parser.errorMessage() : QString());
    fOk->setEnabled(!fText->text().trimmed().isEmpty());

    TDrawFormulaFacade layout;
    TBitmap probe(1, 1);
    const double points = pt();
    const TWhdXy box = layout.measure(probe.canvas(), *parser.tokenList(), points);
    const int margin = 8;
    TBitmap bmp(std::max(fPreview->width() - 2, int(std::ceil(box.width())) + 2 * margin),
        std::max(kPreviewHeight - 2, int(std::ceil(box.totalHeight())) + 2 * margin));
    const double top = (bmp.height() - box.totalHeight()) / 2;
    layout.drawAt(bmp.canvas(), margin, *parser.tokenList(), points, top - 5);
    fPreviewImage = bmp.toImage();
    fPreview->setPixmap(QPixmap::fromImage(fPreviewImage));
}

void TInterimWritingDialog::accept()
{
    // The text still draws with its error shown; the user decides.
    if (fError
        && askAppMessage(
               QStringLiteral("数式にエラーがあります。\r\nこの数式のまま入力を確定しますか？"),
               TAppInfo::caption(), mbYes | mbNo, TMsgDlgType::mtConfirmation)
            != TModalResult::mrYes)
        return;
    QDialog::accept();
}

bool TInterimWritingDialogFacade::editWriting(QString &text, int &pt)
{
    TInterimWritingDialog dialog(fOwner);
    dialog.setValues(text, pt);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    text = dialog.text();
    pt = dialog.pt();
    return true;
}

} // namespace zarno
