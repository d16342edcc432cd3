#include "dialogs/frmformula.h"

#include "core/appinfo.h"
#include "core/exceptions.h"
#include "core/messagedialogs.h"
#include "dialogs/formplace.h"
#include "dialogs/formulafacade.h"
#include "formula/calcformulafacade.h"
#include "platform/bitmap.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zarno {

namespace {

constexpr int kMaxTextLength = 100;
constexpr int kPreviewX = 10;
constexpr int kPreviewY = 20;
// The platform's button face, on which the palette faces are drawn.
constexpr TColor kButtonFace = 0xF0F0F0;

TInputFormulaFacade *&installed()
{
    static TInputFormulaFacade *facade = nullptr;
    return facade;
}

// A tab's panel: its buttons flow from the top-left corner to the right and
// start a new row when the next one would not fit.
class TFlowPanel : public QWidget
{
public:
    explicit TFlowPanel(QWidget *parent = nullptr)
        : QWidget(parent)
    { }
    void add(QToolButton *b) { fButtons.push_back(b); }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return place(width, false); }
    QSize sizeHint() const override { return { 400, heightForWidth(400) }; }
    QSize minimumSizeHint() const override { return { 100, 40 }; }

protected:
    void resizeEvent(QResizeEvent *) override { place(width(), true); }

private:
    int place(int width, bool move) const
    {
        int x = 0, y = 0, rowHeight = 0;
        for (QToolButton *b : fButtons) {
            const QSize s = b->size();
            if (x > 0 && x + s.width() > width) {
                x = 0;
                y += rowHeight;
                rowHeight = 0;
            }
            if (move)
                b->move(x, y);
            x += s.width();
            rowHeight = std::max(rowHeight, s.height());
        }
        return y + rowHeight;
    }
    std::vector<QToolButton *> fButtons;
};

} // namespace

TFormulaPreviewBox::TFormulaPreviewBox(QWidget *parent)
    : QWidget(parent)
{
    setMinimumHeight(90);
}

void TFormulaPreviewBox::setImage(const QImage &image)
{
    fImage = image;
    update();
}

void TFormulaPreviewBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(253, 252, 232));
    p.drawImage(0, 0, fImage);
    p.setPen(QColor(160, 160, 160));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

const QList<int> &formulaFontSizes()
{
    static const QList<int> list { 11, 12, 14, 16, 18, 20, 24, 26, 28, 36, 48, 72 };
    return list;
}

void selectFontSize(QComboBox &box, int pt)
{
    int index = 0;
    for (int i = 0; i < formulaFontSizes().size(); ++i)
        if (formulaFontSizes()[i] <= pt)
            index = i;
    box.setCurrentIndex(index);
}

TFrmFormula::TFrmFormula(TFormulaFacade &faces, QWidget *parent)
    : QDialog(parent)
    , fFaces(faces)
{
    setFormFont(*this);
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    fIcon = new QLabel(this);
    fIcon->setFixedSize(32, 32);
    top->addWidget(fIcon);
    auto *editLabel = new QLabel(QStringLiteral("数式(&E)"), this);
    top->addWidget(editLabel);
    fEdit = new QLineEdit(this);
    fEdit->setMaxLength(kMaxTextLength);
    QFont editFont = fEdit->font();
    editFont.setPointSize(12);
    fEdit->setFont(editFont);
    editLabel->setBuddy(fEdit);
    top->addWidget(fEdit, 1);
    auto *sizeLabel = new QLabel(QStringLiteral("フォントサイズ(&F)"), this);
    top->addWidget(sizeLabel);
    fSize = new QComboBox(this);
    for (int pt : formulaFontSizes())
        fSize->addItem(QString::number(pt), pt);
    sizeLabel->setBuddy(fSize);
    top->addWidget(fSize);
    layout->addLayout(top);

    fStatus = new QLabel(this);
    fStatus->setStyleSheet(QStringLiteral("color: #b00000"));
    fStatus->setWordWrap(true);
    fStatus->setMinimumHeight(fStatus->fontMetrics().height() * 2);
    fStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(fStatus);

    fPreview = new TFormulaPreviewBox(this);
    layout->addWidget(fPreview, 1);

    fPalette = new QTabWidget(this);
    fPalette->setFocusPolicy(Qt::TabFocus);
    layout->addWidget(fPalette);

    fOptionPanel = new QWidget(this);
    fOptionLayout = new QVBoxLayout(fOptionPanel);
    fOptionLayout->setContentsMargins(0, 0, 0, 0);
    fOptionPanel->setFixedHeight(0);
    layout->addWidget(fOptionPanel);

    layout->addLayout(okCancelRow(*this, fOk, fCancel));

    connect(fOk, &QPushButton::clicked, this, &TFrmFormula::accept);
    connect(fCancel, &QPushButton::clicked, this, &TFrmFormula::reject);
    connect(fEdit, &QLineEdit::textChanged, this, [this] { updatePreview(); });
    connect(fSize, &QComboBox::currentIndexChanged, this, [this] { updatePreview(); });

    // The order a user tabs through: text, size, palette, the domain, OK, cancel.
    setTabOrder(fEdit, fSize);
    setTabOrder(fSize, fPalette);
    setTabOrder(fPalette, fOk);
    setTabOrder(fOk, fCancel);
    resize(640, 480);
}

TFrmFormula::~TFrmFormula() = default;

void TFrmFormula::prepare(TCalcFormulaFacade *facade, const QString &text, int pt, bool selectAll)
{
    fCalc = facade;
    fMode = facade ? TFormulaMode::fmCalc : TFormulaMode::fmTeX;
    setWindowTitle(fMode == TFormulaMode::fmCalc ? QStringLiteral("計算用数式入力")
                                                 : QStringLiteral("表示用数式入力"));
    fSelectAll = selectAll;
    fAcceptsErrors = fMode == TFormulaMode::fmTeX;
    fInitialText = text;
    fError = true;
    buildPalette(facade ? facade->calcSymbolOnOff() : TCalcSymbolOnOff());
    {
        const QSignalBlocker block(fSize);
        selectFontSize(*fSize, pt);
    }
    drawIcon();
    fEdit->setText(text);
    if (fSelectAll)
        fEdit->selectAll();
    else
        fEdit->setCursorPosition(int(text.size()));
    fEdit->setFocus();
    updatePreview();
}

QString TFrmFormula::text() const
{
    return fEdit->text();
}

int TFrmFormula::pt() const
{
    return fSize->currentData().toInt();
}

const QImage &TFrmFormula::previewImage() const
{
    return fPreview->image();
}

void TFrmFormula::drawIcon()
{
    const QString face
        = fMode == TFormulaMode::fmCalc ? QStringLiteral("f(x)") : QStringLiteral("\\frac{a}{b}");
    QImage image = fFaces.renderToImage(face, 12, kColorBlack, kPreviewBackground);
    fIcon->setPixmap(
        QPixmap::fromImage(image.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
}

void TFrmFormula::buildPalette(const TCalcSymbolOnOff &onOff)
{
    while (fPalette->count() > 0) {
        QWidget *page = fPalette->widget(0);
        fPalette->removeTab(0);
        delete page;
    }
    const std::vector<TFormulaButtonInfo> infos = formulaButtons(fMode, onOff);
    const QStringList &captions = formulaTabCaptions();
    for (int tab = 0; tab < captions.size(); ++tab) {
        std::vector<const TFormulaButtonInfo *> mine;
        for (const TFormulaButtonInfo &info : infos)
            if (info.tab == tab)
                mine.push_back(&info);
        // A tab is offered only when it has a button.
        if (mine.empty())
            continue;
        auto *panel = new TFlowPanel;
        // The faces are drawn on the button face: the panel wears it too.
        panel->setAutoFillBackground(true);
        QPalette colours = panel->palette();
        colours.setColor(QPalette::Window,
            QColor(colorRed(kButtonFace), colorGreen(kButtonFace), colorBlue(kButtonFace)));
        panel->setPalette(colours);
        std::vector<QImage> faces;
        QSize cell(0, 0);
        for (const TFormulaButtonInfo *info : mine) {
            faces.push_back(
                fFaces.renderToImage(info->face, formulaTabFacePt(tab), kColorBlack, kButtonFace));
            cell = cell.expandedTo(faces.back().size());
        }
        cell += QSize(12, 6);
        for (std::size_t i = 0; i < mine.size(); ++i) {
            auto *b = new QToolButton(panel);
            b->setObjectName(mine[i]->name);
            b->setAutoRaise(true);
            b->setFocusPolicy(Qt::NoFocus);
            b->setToolTip(mine[i]->templateText);
            b->setIcon(QIcon(QPixmap::fromImage(faces[i])));
            b->setIconSize(faces[i].size());
            b->setFixedSize(cell);
            const QString templateText = mine[i]->templateText;
            connect(b, &QToolButton::clicked, this,
                [this, templateText] { insertAtCaret(templateText); });
            panel->add(b);
        }
        fPalette->addTab(panel, captions[tab]);
    }
    if (fPalette->count() > 0)
        fPalette->setCurrentIndex(0);
    fPalette->setMinimumHeight(150);
}

QToolButton *TFrmFormula::button(const QString &name) const
{
    for (int i = 0; i < fPalette->count(); ++i)
        for (QToolButton *b : fPalette->widget(i)->findChildren<QToolButton *>())
            if (b->objectName() == name)
                return b;
    return nullptr;
}

void TFrmFormula::insertAtCaret(const QString &templateText)
{
    const bool selected = fEdit->hasSelectedText();
    const int start = selected ? fEdit->selectionStart() : fEdit->cursorPosition();
    const int length = selected ? int(fEdit->selectedText().size()) : 0;
    const TInsertion ins = insertTemplate(fEdit->text(), start, length, templateText);
    if (ins.text.size() > kMaxTextLength)
        return; // the edit could not hold it
    fEdit->setText(ins.text);
    fEdit->setCursorPosition(ins.caret);
    fEdit->setFocus();
}

void TFrmFormula::showTab(const QString &caption)
{
    for (int i = 0; i < fPalette->count(); ++i)
        if (fPalette->tabText(i) == caption) {
            fPalette->setCurrentIndex(i);
            return;
        }
    throw ESouteigai(QStringLiteral("TFrmFormula"), { fmtArg(caption) },
        QStringLiteral("タブ名(%s)は存在しません。"), QStringLiteral("tabOnChange"));
}

void TFrmFormula::nextTab(int step)
{
    const int n = fPalette->count();
    if (n > 0)
        fPalette->setCurrentIndex((fPalette->currentIndex() + step + n) % n);
}

void TFrmFormula::updatePreview()
{
    const QSize size = fPreview->size().expandedTo(QSize(420, 90));
    TBitmap bitmap(size.width(), size.height());
    TCanvas &canvas = bitmap.canvas();
    canvas.setBrushColor(kPreviewBackground);
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(QPoint(0, 0), size));
    canvas.setPenColor(kColorBlack);
    const QString text = fEdit->text();
    QString message;
    if (fMode == TFormulaMode::fmCalc) {
        fCalc->analyzeFormula(text);
        fPreviewTeX = fCalc->getTeXString();
        fError = fFaces.drawTeX(fPreviewTeX, canvas, pt(), kPreviewX, kPreviewY)
            || fCalc->errorFlag() != 0;
        if (fCalc->errorFlag() != 0) {
            message = fCalc->errorMessage();
            fAcceptable = false;
        } else {
            // Each use decides through its facade's variables: without any
            // the formula must have a value.
            fAcceptable = fCalc->isValidNumberFormula(text);
            if (!fAcceptable)
                message = QStringLiteral("数式にエラーがあります。");
        }
        if (text.trimmed().isEmpty())
            message.clear();
    } else {
        fPreviewTeX = text;
        fError = fFaces.drawTeX(text, canvas, pt(), kPreviewX, kPreviewY);
        message = fError ? fFaces.errorMessage() : QString();
        fAcceptable = !fError;
    }
    // An empty text makes nothing: OK would only cancel, so it is not offered.
    if (text.trimmed().isEmpty())
        fAcceptable = false;
    fStatus->setText(message);
    fOk->setEnabled(fAcceptable);
    fPreview->setImage(bitmap.toImage());
}

void TFrmFormula::accept()
{
    const QString text = fEdit->text();
    // Callers take an empty text as a cancel.
    if (text.trimmed().isEmpty()) {
        QDialog::reject();
        return;
    }
    if (fAcceptable) {
        QDialog::accept();
        return;
    }
    if (!fAcceptsErrors) {
        showAppMessage(QStringLiteral("数式にエラーがあります。"), TMsgDlgType::mtError);
        return;
    }
    if (askAppMessage(
            QStringLiteral("数式にエラーがあります。\r\nこの数式のまま入力を確定しますか？"),
            TAppInfo::caption(), mbYes | mbNo, TMsgDlgType::mtConfirmation)
        == TModalResult::mrYes)
        QDialog::accept();
}

void TFrmFormula::reject()
{
    const QString text = fEdit->text();
    if (!text.isEmpty() && text != fInitialText) {
        if (askAppMessage(QStringLiteral("入力を破棄してもかまいませんか？"), TAppInfo::caption(),
                mbYes | mbNo, TMsgDlgType::mtConfirmation)
            != TModalResult::mrYes)
            return;
        fEdit->clear();
    }
    QDialog::reject();
}

void TFrmFormula::keyPressEvent(QKeyEvent *event)
{
    // Ctrl+Tab walks the palette's tabs from wherever the focus is.
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    if (ctrl && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        const bool back
            = event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier);
        nextTab(back ? -1 : 1);
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmFormula::closeEvent(QCloseEvent *event)
{
    // The close box confirms like OK does.
    event->ignore();
    accept();
}

void TFrmFormula::showEvent(QShowEvent *event)
{
    readFormBounds(*this, QStringLiteral("inputFormulaidStr"));
    QDialog::showEvent(event);
    fEdit->setFocus();
    // Taking the focus may select the whole text: put the caret back where
    // the caller wants it, also after the window became active.
    const auto placeCaret = [this] {
        if (fSelectAll)
            fEdit->selectAll();
        else
            fEdit->setCursorPosition(int(fEdit->text().size()));
    };
    placeCaret();
    QTimer::singleShot(0, this, placeCaret);
    updatePreview();
}

void TFrmFormula::hideEvent(QHideEvent *event)
{
    writeFormBounds(*this, QStringLiteral("inputFormulaidStr"));
    QDialog::hideEvent(event);
}

void TFrmFormula::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (isVisible())
        updatePreview();
}

TInputFormulaFacade::TInputFormulaFacade(QWidget *owner)
    : fFaces(TFormulaFacade::createFormulaFacade(QStringLiteral("forButtons")))
    , fForm(std::make_unique<TFrmFormula>(*fFaces, owner))
{
    installed() = this;
}

TInputFormulaFacade::~TInputFormulaFacade()
{
    if (installed() == this)
        installed() = nullptr;
}

TInputFormulaFacade &TInputFormulaFacade::instance()
{
    if (!installed())
        throw ESouteigai(QStringLiteral("TInputFormulaFacade"),
            QStringLiteral("数式入力ダイアログが作成されていません。"), QStringLiteral("instance"));
    return *installed();
}

bool TInputFormulaFacade::exists()
{
    return installed() != nullptr;
}

int TInputFormulaFacade::runCalc(
    TCalcFormulaFacade &facade, const QString &text, bool selectAll, int pt)
{
    fForm->prepare(&facade, text, pt, selectAll);
    return run();
}

int TInputFormulaFacade::runTeX(const QString &text, int pt, bool selectAll)
{
    fForm->prepare(nullptr, text, pt, selectAll);
    return run();
}

int TInputFormulaFacade::run()
{
    fResultModal = fForm->exec() == QDialog::Accepted ? 1 : 2;
    fResultText = fForm->text();
    fResultPt = fForm->pt();
    return fResultModal;
}

} // namespace zarno
