#pragma once

#include "core/enums.h"
#include "platform/canvas.h"

#include <QFrame>
#include <QImage>
#include <functional>

class QWidget;

namespace zarno {

class TBitmap;
class TWriting;

// The platform's face colours as the previews use them (Windows' button
// face, and the caption gradient that frames every preview).
TColor buttonFaceColor();

// The framed white box in which the dialogs show a label or a formula
// typeset. The picture is drawn into a bitmap whenever the owner asks
// (refresh), not on every paint, so what a box shows can be read back
// without a screen. A click on an enabled box asks the owner to edit.
class TPreviewBox : public QFrame
{
public:
    using Painter = std::function<void(TCanvas &canvas, int width, int height)>;

    explicit TPreviewBox(QWidget *parent = nullptr);

    void setPainter(Painter painter) { fPainter = std::move(painter); }
    void setOnClick(std::function<void()> onClick) { fOnClick = std::move(onClick); }
    // Draws the picture again: white when enabled, button-face when not.
    void refresh();
    // Clicking the box as the mouse does: only an enabled box answers.
    void click();
    const QImage &picture() const { return fPicture; }
    // A disabled box is greyed out by OR with light grey after painting.
    void setGreyWhenDisabled(bool grey) { fGreyWhenDisabled = grey; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    Painter fPainter;
    std::function<void()> fOnClick;
    QImage fPicture;
    bool fGreyWhenDisabled = false;
};

// The common look of preview panels and boxes.
struct TSetViewStyle
{
    static void stylePanel(QFrame &panel);
    static void stylePaintBox(TPreviewBox &box);
};

// Draws a typeset text at x = 3, centred vertically; answers the typeset
// parser's error flag.
bool drawTeXCentred(TCanvas &canvas, int height, const QString &tex, int pt);

// A label's own editor: the number dialog for a number label, the formula
// dialog in display mode for typeset text. False when cancelled.
bool editWritingOwn(TWriting &writing);

// A caption with an accelerator, "(&X)", as a label shows it without a buddy:
// the letter underlined. The key itself is handled by the dialog.
QString acceleratorCaption(const QString &caption);

// Window places kept under formPositionAndSize/key (left and top only).
void restoreFormPosition(QWidget &form, const QString &key);
void storeFormPosition(const QWidget &form, const QString &key);

} // namespace zarno
