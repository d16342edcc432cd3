#include "app/splash.h"

#include "app/icons.h"
#include "core/appinfo.h"
#include "persist/inifile.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zarno {

TfrmSplash::TfrmSplash(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("バージョン情報"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 20);
    auto *logo = new QLabel(this);
    logo->setPixmap(TIcons::icon(QStringLiteral("zarno")).pixmap(96, 96));
    logo->setAlignment(Qt::AlignCenter);
    auto *title = new QLabel(QStringLiteral("zarno"), this);
    QFont big = title->font();
    big.setPointSize(22);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    const QDateTime built = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    auto *version = new QLabel(QStringLiteral("ver.") + TAppInfo::versionString()
            + QStringLiteral("   ") + built.toString(QStringLiteral("yyyy/M/d")),
        this);
    version->setAlignment(Qt::AlignCenter);
    auto *signature = new QLabel(QStringLiteral("数学の図とグラフを描くためのソフト"), this);
    signature->setAlignment(Qt::AlignCenter);
    layout->addWidget(logo);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(signature);
}

void TfrmSplash::mousePressEvent(QMouseEvent *)
{
    accept();
}

void TfrmSplash::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->key() == Qt::Key_Return
        || event->key() == Qt::Key_Enter)
        accept();
    else
        QDialog::keyPressEvent(event);
}

TfrmTutorial::TfrmTutorial(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("ようこそ"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    auto *text = new QPlainTextEdit(this);
    text->setReadOnly(true);
    QFont f = text->font();
    f.setPointSize(11);
    text->setFont(f);
    text->setPlainText(
        QStringLiteral("zarno をご利用いただいてありがとうございます。\r\n\r\nまず "
                       "zarnoヘルプ1～3ページ（4～6枚目）の「基本的な用語と使い方」, "
                       "「フォントのインストール」をご覧下さい。"));
    fAgain = new QCheckBox(QStringLiteral("このメッセージを次回起動時に再び表示する。"), this);
    fAgain->setChecked(shouldShowAtStart());
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    layout->addWidget(text, 1);
    layout->addWidget(fAgain);
    layout->addWidget(ok, 0, Qt::AlignRight);
    resize(460, 240);
}

bool TfrmTutorial::showAgain() const
{
    return fAgain->isChecked();
}

namespace {

// The settings section belongs to the welcome window as such, whichever
// instance shows it.
const int kTutorialSettingsOwner = 0;

TIniHash *tutorialSettings()
{
    if (!TXmlIniFile::isOpen())
        return nullptr;
    return &TXmlIniFile::getMyRootHash(
        &kTutorialSettingsOwner, QStringLiteral("TfrmTutorial"), QStringLiteral("formTutorial"));
}

} // namespace

bool TfrmTutorial::shouldShowAtStart()
{
    const TIniHash *settings = tutorialSettings();
    return settings ? settings->readBool(QStringLiteral("view"), true) : true;
}

void TfrmTutorial::done(int result)
{
    if (TIniHash *settings = tutorialSettings())
        settings->writeBool(QStringLiteral("view"), fAgain->isChecked());
    QDialog::done(result);
}

} // namespace zarno
