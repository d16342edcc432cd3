#pragma once

#include "dialogs/formuladialogs.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace zarno::test {

// Ink in a preview: dark pixels, and the red the typesetter marks errors in.
struct Ink
{
    int black = 0;
    int red = 0;
};

inline Ink inkOf(const QImage &image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            ink.black += qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80 ? 1 : 0;
            ink.red += qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80 ? 1 : 0;
        }
    return ink;
}

// Runs script as soon as the next modal dialog is up, as a user at it would.
inline void whenModal(std::function<void(QWidget &)> script)
{
    QTimer::singleShot(0, [script = std::move(script)] {
        QWidget *modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr) << "no dialog came up";
        script(*modal);
    });
}

// The program's dialogs behind their facades, and scripted message boxes.
class DialogsTest : public ::testing::Test
{
protected:
    ScopedScriptedDialogs messages;
    TFormulaDialogs dialogs { nullptr };
};

} // namespace zarno::test
