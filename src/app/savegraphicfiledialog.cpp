#include "app/savegraphicfiledialog.h"

#include "core/messagedialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zarno {

namespace {

QString filterText(const QPair<QString, QString> &filter)
{
    return filter.first;
}

QLabel *rangeLabel(const TMmRange &range)
{
    return new QLabel(QStringLiteral("mm (") + QString::number(range.min) + QStringLiteral("〜")
        + QString::number(range.max) + QStringLiteral("mm)"));
}

} // namespace

TSaveGraphicfileDialogWidget::TSaveGraphicfileDialogWidget(
    QWidget *parent, const QString &fileName, const TGraphicfileProperty &property, int unitMax)
    : QDialog(parent)
    , fBoxRange(TGraphicfileDialogRules::boxRange())
    , fUnitRange(TGraphicfileDialogRules::unitRange(unitMax))
    , fUnitOffered(TGraphicfileDialogRules::unitRowOffered(unitMax))
    , fProperty(property)
{
    setWindowTitle(QStringLiteral("名前を付けて画像ファイルを保存"));
    auto *layout = new QVBoxLayout(this);

    fFiles = new QFileDialog(this, windowTitle());
    fFiles->setWindowFlags(Qt::Widget);
    fFiles->setOption(QFileDialog::DontUseNativeDialog);
    fFiles->setAcceptMode(QFileDialog::AcceptSave);
    fFiles->setFileMode(QFileDialog::AnyFile);
    QStringList filters;
    for (const auto &f : TGraphicfileDialogRules::filters())
        filters << filterText(f);
    fFiles->setNameFilters(filters);
    fFiles->selectNameFilter(filters.value(TGraphicfileDialogRules::filterIndexFor(fileName)));
    const QFileInfo info(fileName);
    if (info.path() != QStringLiteral("."))
        fFiles->setDirectory(info.absolutePath());
    fFiles->selectFile(info.fileName());
    layout->addWidget(fFiles);

    auto *panels = new QHBoxLayout;
    auto *size = new QGroupBox(QStringLiteral(" 画像ファイルの大きさの設定 "));
    auto *sizeLayout = new QVBoxLayout(size);
    auto row = [&](QRadioButton *radio, QLineEdit *edit, const TMmRange &range, QLabel **label) {
        sizeLayout->addWidget(radio);
        auto *line = new QHBoxLayout;
        edit->setMaxLength(range.maxLength());
        edit->setValidator(new QIntValidator(0, 99999, edit));
        edit->setMaximumWidth(80);
        line->addSpacing(20);
        line->addWidget(edit);
        QLabel *l = rangeLabel(range);
        line->addWidget(l);
        line->addStretch();
        sizeLayout->addLayout(line);
        if (label)
            *label = l;
        connect(edit, &QLineEdit::textChanged, this, [edit, range] { markRange(edit, range); });
    };
    fBoxRadio = new QRadioButton(QStringLiteral(
        "縦横比を固定したまま, 画像の横がこの長さになるように, 拡大・縮小する。(&1)"));
    fBoxEdit = new QLineEdit;
    row(fBoxRadio, fBoxEdit, fBoxRange, nullptr);
    fUnitRadio = new QRadioButton(
        QStringLiteral("縦横比を固定したまま, x軸の1がこの長さになるように, 拡大・縮小する。(&2)"));
    fUnitEdit = new QLineEdit;
    row(fUnitRadio, fUnitEdit, fUnitRange, &fUnitLabel);
    panels->addWidget(size, 2);

    auto *text = new QGroupBox(QStringLiteral(" 文字列の大きさの設定 "));
    auto *textLayout = new QVBoxLayout(text);
    fResizeRadio = new QRadioButton(QStringLiteral("画像に合わせて拡大・縮小する。(&3)"));
    fSameRadio = new QRadioButton(QStringLiteral("設定したサイズのままにする。(&4)"));
    textLayout->addWidget(fResizeRadio);
    textLayout->addWidget(fSameRadio);
    textLayout->addStretch();
    panels->addWidget(text, 1);
    layout->addLayout(panels);

    fBoxEdit->setText(
        QString::number(TGraphicfileDialogRules::initialValue(property.boxSizeMm, fBoxRange)));
    fUnitEdit->setText(
        QString::number(TGraphicfileDialogRules::initialValue(property.hAxe1_mm, fUnitRange)));
    const bool unit = fUnitOffered && property.scaleType == TGraphicFileScaletype::gstHAxe1;
    (unit ? fUnitRadio : fBoxRadio)->setChecked(true);
    if (!fUnitOffered) {
        fUnitRadio->setEnabled(false);
        fUnitRadio->hide();
        fUnitEdit->hide();
        fUnitLabel->hide();
    }
    (property.fontScaleType == TGraphicFileFontScaletype::fstSameAsDisplay ? fSameRadio
                                                                           : fResizeRadio)
        ->setChecked(true);
    connect(fBoxRadio, &QRadioButton::toggled, this, [this] { updateEdits(); });
    connect(fUnitRadio, &QRadioButton::toggled, this, [this] { updateEdits(); });
    updateEdits();
    markRange(fBoxEdit, fBoxRange);
    markRange(fUnitEdit, fUnitRange);

    connect(fFiles, &QFileDialog::fileSelected, this, &TSaveGraphicfileDialogWidget::filesChosen);
    connect(
        fFiles, &QFileDialog::filterSelected, this, &TSaveGraphicfileDialogWidget::filterChosen);
    connect(fFiles, &QFileDialog::rejected, this, &QDialog::reject);
}

bool TSaveGraphicfileDialogWidget::markedOutOfRange(const QLineEdit *edit)
{
    return edit->property("outOfRange").toBool();
}

void TSaveGraphicfileDialogWidget::markRange(QLineEdit *edit, const TMmRange &range)
{
    bool ok = false;
    const int v = edit->text().toInt(&ok);
    const bool out = !ok || !range.contains(v);
    edit->setProperty("outOfRange", out);
    QFont f = edit->font();
    f.setUnderline(out);
    edit->setFont(f);
    QPalette p = edit->palette();
    p.setColor(
        QPalette::Text, out ? QColor(Qt::red) : QApplication::palette().color(QPalette::Text));
    edit->setPalette(p);
}

void TSaveGraphicfileDialogWidget::updateEdits()
{
    fBoxEdit->setEnabled(fBoxRadio->isChecked());
    fUnitEdit->setEnabled(fUnitRadio->isChecked());
}

void TSaveGraphicfileDialogWidget::filterChosen(const QString &filter)
{
    const auto list = TGraphicfileDialogRules::filters();
    for (const auto &f : list) {
        if (filterText(f) != filter)
            continue;
        auto *edit = fFiles->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        const QString name = edit ? edit->text() : QString();
        if (!name.isEmpty())
            fFiles->selectFile(TGraphicfileDialogRules::replaceExtension(name, f.second));
    }
}

bool TSaveGraphicfileDialogWidget::validateAndTake()
{
    const bool unit = fUnitRadio->isChecked();
    const TMmRange &range = unit ? fUnitRange : fBoxRange;
    bool ok = false;
    const int v = (unit ? fUnitEdit : fBoxEdit)->text().toInt(&ok);
    if (!ok || !range.contains(v)) {
        showAppMessage(unit ? TGraphicfileDialogRules::unitRangeMessage(range)
                            : TGraphicfileDialogRules::boxRangeMessage(range),
            TMsgDlgType::mtWarning);
        return false;
    }
    fProperty.boxSizeMm = fBoxEdit->text().toInt();
    fProperty.hAxe1_mm = fUnitEdit->text().toInt();
    fProperty.scaleType = unit ? TGraphicFileScaletype::gstHAxe1 : TGraphicFileScaletype::gstInBox;
    fProperty.fontScaleType = fSameRadio->isChecked() ? TGraphicFileFontScaletype::fstSameAsDisplay
                                                      : TGraphicFileFontScaletype::fstResize;
    return true;
}

void TSaveGraphicfileDialogWidget::filesChosen(const QString &file)
{
    if (!validateAndTake()) {
        // The file dialog closed itself on its Save button; the whole
        // dialog stays open for the correction.
        fFiles->setVisible(true);
        return;
    }
    fChosen = file;
    accept();
}

bool TQtSaveGraphicfileDialog::execute(
    QString &fileName, TGraphicfileProperty &property, int unitMax)
{
    TSaveGraphicfileDialogWidget dialog(fOwner, fileName, property, unitMax);
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty())
        return false;
    fileName = dialog.chosenFile();
    property = dialog.property();
    return true;
}

} // namespace zarno
