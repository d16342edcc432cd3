#pragma once

#include <QDialog>

class QCheckBox;

namespace zarno {

// The version window, also shown as the splash while the program starts.
class TfrmSplash : public QDialog
{
public:
    explicit TfrmSplash(QWidget *parent = nullptr);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};

// The welcome window shown after start until the user asks not to; the
// choice is kept in the settings ("formTutorial", "view").
class TfrmTutorial : public QDialog
{
public:
    explicit TfrmTutorial(QWidget *parent = nullptr);
    bool showAgain() const;
    // Whether the settings ask for the window at start (yes without them).
    static bool shouldShowAtStart();

protected:
    void done(int result) override;

private:
    QCheckBox *fAgain;
};

} // namespace zarno
