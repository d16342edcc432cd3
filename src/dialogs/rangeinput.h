#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;

namespace zarno {

class TRange;
class TWriting;

// The domain of a graph inside the formula dialog: each bound infinite or a
// number, the number shown as a label and edited in the number dialog.
// What is chosen here goes to the range only when the caller says so, so a
// cancelled formula dialog leaves the graph's domain as it was.
class TRangeInput : public QWidget
{
public:
    explicit TRangeInput(QWidget *parent = nullptr);
    ~TRangeInput() override;

    // Loads the bounds of range.
    void load(const TRange &range);
    // Writes the choices into range.
    void apply(TRange &range) const;

    QRadioButton *infiniteButton(int bound) const { return fBoxes[bound].infinite; }
    QRadioButton *finiteButton(int bound) const { return fBoxes[bound].finite; }
    // Clicking it edits the bound in the number dialog.
    QPushButton *preview(int bound) const { return fBoxes[bound].preview; }
    TWriting &writing(int bound) const { return *fBoxes[bound].writing; }

private:
    struct Box
    {
        QRadioButton *infinite = nullptr;
        QRadioButton *finite = nullptr;
        QPushButton *preview = nullptr;
        std::unique_ptr<TWriting> writing;
    };
    void repaint(int bound);
    void edit(int bound);

    Box fBoxes[2];
};

} // namespace zarno
