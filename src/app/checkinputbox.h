#pragma once

#include "core/enums.h"
#include "core/valuetypes.h"

#include <QChar>
#include <QRadioButton>
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

class QCheckBox;
class QFrame;
class QLabel;
class QSlider;

namespace zarno {

class TPreviewBox;
class TWriting;

// How one check-box row looks: its caption, the accelerators of the check
// box and of the preview (the axis index is added to both), whether the
// preview label reads "間隔", which of the two layouts, whether the check box
// shows the opposite of the label's view flag, and the caption's side.
struct TInputBoxInfo
{
    QString caption;
    QChar checkAccelerator;
    QChar previewAccelerator;
    bool intervalPrefix = false;
    bool layout1 = true;
    bool invert = false;
    int alignment = 0;
};

// What a row may show beside its preview (the position editor of a label).
class TAbstractCheckInputBoxAdditional
{
public:
    virtual ~TAbstractCheckInputBoxAdditional() = default;
    virtual void enable(bool flag) = 0;
    virtual void repaint() = 0;
    virtual void layout(const QRect &rectangle) = 0;
    virtual void load(TWriting &writing) = 0;
    virtual void finish() = 0;
};

class TNullCheckBoxAdditional final : public TAbstractCheckInputBoxAdditional
{
public:
    void enable(bool) override { }
    void repaint() override { }
    void layout(const QRect &) override { }
    void load(TWriting &) override { }
    void finish() override { }
};

// A radio button that knows its index among the nine directions.
class TDirectionRadioButton : public QRadioButton
{
public:
    TDirectionRadioButton(int index, QWidget *parent)
        : QRadioButton(parent)
        , fIndex(index)
    { }
    int index() const { return fIndex; }

private:
    int fIndex;
};

// Nine buttons on a circle: 0 to 7 the directions N, NE, … NW clockwise
// from the top, 8 the centre.
class TPositionRadioGroup : public QWidget
{
public:
    explicit TPositionRadioGroup(QWidget *parent);
    void layoutButtons();
    TDirectionRadioButton *button(int index) const { return fButtons[std::size_t(index)]; }
    int itemIndex() const { return fItemIndex; }
    void setItemIndex(int index);
    std::function<void()> onChange;

private:
    std::array<TDirectionRadioButton *, 9> fButtons {};
    int fItemIndex = 8;
};

// The position editor of a label: a small picture of the axis with the
// label at its offset, the direction buttons and a slider for the distance
// (top 5 mm, bottom 0, steps of 0.5 mm). Every change goes to the label at
// once; the row keeps or restores it when the dialog ends.
class TCheckInputBoxAddPosition final : public TAbstractCheckInputBoxAdditional
{
public:
    TCheckInputBoxAddPosition(int axisIndex, QWidget *owner);
    ~TCheckInputBoxAddPosition() override;

    void enable(bool flag) override;
    void repaint() override;
    void layout(const QRect &rectangle) override;
    void load(TWriting &writing) override;
    void finish() override;

    // The millimetre offset of a direction (0 … 8) at a slider position.
    static TModelPoint offsetFor(int direction, int position);

    QSlider *trackBar() const { return fTrackBar; }
    TPositionRadioGroup *directions() const { return fDirections; }
    TPreviewBox *preview() const { return fPreview; }

private:
    void changed();

    int fAxisIndex;
    QFrame *fOuter;
    TPreviewBox *fPreview;
    QSlider *fTrackBar;
    TPositionRadioGroup *fDirections;
    TWriting *fWriting = nullptr;
    bool fEnabled = true;
    bool fLoaded = false;
};

// One row of the axes dialog: a check box that switches a label's view
// flag, the preview of the label (a click opens its own editor) and an
// optional extra control.
class TCheckInputBox
{
public:
    TCheckInputBox(QWidget *owner, const TInputBoxInfo &info, int axisIndex,
        std::unique_ptr<TAbstractCheckInputBoxAdditional> extra);
    ~TCheckInputBox();

    // Row geometry: check box left and width, row centre and width.
    void setGeometry(int checkLeft, int centre, int checkWidth, int rowWidth);
    void layout();
    void load(TWriting &writing);
    void finish(int result);
    // Alt with a letter: the row whose preview has that letter opens its
    // editor while the preview is enabled; true when the key was used.
    bool key(QChar letter);

    QCheckBox *checkBox() const { return fCheck; }
    TPreviewBox *preview() const { return fPreview; }
    QLabel *label() const { return fLabel; }
    TAbstractCheckInputBoxAdditional &extra() { return *fExtra; }
    QChar previewLetter() const;
    void repaint();

private:
    void checkClicked();
    void previewClicked();

    QWidget *fOwner;
    TInputBoxInfo fInfo;
    int fAxisIndex;
    QLabel *fLabel;
    QFrame *fPanel;
    TPreviewBox *fPreview;
    QCheckBox *fCheck;
    std::unique_ptr<TAbstractCheckInputBoxAdditional> fExtra;
    TWriting *fWriting = nullptr;
    int fCheckLeft = 10, fCentre = 50, fCheckWidth = 100, fRowWidth = 280;
};

} // namespace zarno
