#include "app/previewbox.h"

#include "labels/labeldialogs.h"
#include "labels/writing.h"
#include "persist/inifile.h"
#include "platform/bitmap.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"
#include "typeset/texsymbol.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QWidget>
#include <algorithm>

namespace zarno {

namespace {

TColor toTColor(const QColor &c)
{
    return TColor(c.red()) | TColor(c.green()) << 8 | TColor(c.blue()) << 16;
}

} // namespace

TColor buttonFaceColor()
{
    return toTColor(QPalette().color(QPalette::Button));
}

TPreviewBox::TPreviewBox(QWidget *parent)
    : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setMinimumHeight(20);
    setCursor(Qt::PointingHandCursor);
}

void TPreviewBox::refresh()
{
    const QRect r = contentsRect();
    const int w = std::max(1, r.width()), h = std::max(1, r.height());
    TBitmap bmp(w, h);
    TCanvas &canvas = bmp.canvas();
    canvas.setBrushColor(isEnabled() ? kColorWhite : buttonFaceColor());
    canvas.setBrushStyle(TBrushStyle::bsSolid);
    canvas.fillRect(QRect(0, 0, w, h));
    canvas.setPenColor(kColorBlack);
    if (fPainter)
        fPainter(canvas, w, h);
    fPicture = bmp.toImage();
    if (fGreyWhenDisabled && !isEnabled())
        for (int y = 0; y < fPicture.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(fPicture.scanLine(y));
            for (int x = 0; x < fPicture.width(); ++x)
                line[x] |= 0xC0C0C0;
        }
    update();
}

void TPreviewBox::click()
{
    if (isEnabled() && fOnClick)
        fOnClick();
}

void TPreviewBox::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), fPicture);
}

void TPreviewBox::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        click();
}

void TPreviewBox::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    refresh();
}

void TSetViewStyle::stylePanel(QFrame &panel)
{
    panel.setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel.setAutoFillBackground(true);
    QPalette p = panel.palette();
    p.setColor(QPalette::Window, QColor(0xd7, 0xe4, 0xf2)); // inactive caption gradient
    panel.setPalette(p);
    panel.setEnabled(true);
    panel.setVisible(true);
}

void TSetViewStyle::stylePaintBox(TPreviewBox &box)
{
    if (QWidget *parent = box.parentWidget())
        box.setGeometry(2, 2, parent->width() - 4, parent->height() - 4);
    box.setEnabled(true);
    box.setVisible(true);
}

bool drawTeXCentred(TCanvas &canvas, int height, const QString &tex, int pt)
{
    if (!TTeXDrawSymbolList::isBuilt())
        return true;
    TTeX2ListFacade parser;
    const bool error = parser.analyze(tex);
    TDrawFormulaFacade layout;
    const TWhdXy box = layout.measure(canvas, *parser.tokenList(), pt);
    // drawAt puts the top 5 pixels below the given line.
    layout.drawAt(canvas, 3, *parser.tokenList(), pt, (height - box.totalHeight()) / 2 - 5);
    return error;
}

bool editWritingOwn(TWriting &writing)
{
    if (writing.kind() == 0)
        return TNumberDialogFacade::edit(writing.minValue(), writing.maxValue(), writing);
    QString text = writing.text();
    int pt = writing.pt();
    if (!TWritingDialogFacade::edit(text, pt))
        return false;
    writing.setText(text);
    writing.setPt(pt);
    return true;
}

QString acceleratorCaption(const QString &caption)
{
    const qsizetype at = caption.indexOf(QLatin1Char('&'));
    if (at < 0 || at + 1 >= caption.size())
        return caption.toHtmlEscaped();
    return caption.left(at).toHtmlEscaped() + QStringLiteral("<u>") + caption.at(at + 1)
        + QStringLiteral("</u>") + caption.mid(at + 2).toHtmlEscaped();
}

void restoreFormPosition(QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    const TIniHash &ini = TXmlIniFile::formPositionAndSize(key);
    if (ini.isEmpty())
        return;
    form.move(ini.readInteger(QStringLiteral("left"), form.x()),
        ini.readInteger(QStringLiteral("top"), form.y()));
}

void storeFormPosition(const QWidget &form, const QString &key)
{
    if (!TXmlIniFile::isOpen())
        return;
    TIniHash &ini = TXmlIniFile::formPositionAndSize(key);
    ini.writeInteger(QStringLiteral("left"), form.x());
    ini.writeInteger(QStringLiteral("top"), form.y());
}

} // namespace zarno
