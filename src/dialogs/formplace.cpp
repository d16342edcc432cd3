#include "dialogs/formplace.h"

#include "persist/inifile.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QWidget>

namespace zarno {

namespace {

QList<QRect> workAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

int captionHeight(const QWidget &form)
{
    return form.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &form);
}

} // namespace

void readFormPos(QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    const TIniHash &section = TXmlIniFile::formPositionAndSize(key);
    QRect r(section.readInteger(QStringLiteral("left"), 0),
        section.readInteger(QStringLiteral("top"), 0), form.width(), form.height());
    if (!TWindowPlacement::isReachable(r, workAreas(), captionHeight(form)))
        r.moveTo(0, 0);
    form.move(r.topLeft());
}

void writeFormPos(const QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    TIniHash &section = TXmlIniFile::formPositionAndSize(key);
    section.writeInteger(QStringLiteral("left"), form.x(), false);
    section.writeInteger(QStringLiteral("top"), form.y());
}

void readFormBounds(QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    const TIniHash &section = TXmlIniFile::formPositionAndSize(key);
    // A dialog never seen keeps the size it was made with.
    if (section.readInteger(QStringLiteral("width"), -1) < 0) {
        readFormPos(form, key);
        return;
    }
    form.setGeometry(TWindowPlacement::bounds(section, workAreas(), captionHeight(form)));
}

void writeFormBounds(const QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    TIniHash &section = TXmlIniFile::formPositionAndSize(key);
    section.writeInteger(QStringLiteral("left"), form.x(), false);
    section.writeInteger(QStringLiteral("top"), form.y(), false);
    section.writeInteger(QStringLiteral("width"), form.width(), false);
    section.writeInteger(QStringLiteral("height"), form.height());
}

void setFormFont(QWidget &form)
{
    QFont font = form.font();
    font.setPointSize(9);
    form.setFont(font);
}

QHBoxLayout *okCancelRow(QDialog &dialog, QPushButton *&ok, QPushButton *&cancel)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("キャンセル"), &dialog);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

} // namespace zarno
