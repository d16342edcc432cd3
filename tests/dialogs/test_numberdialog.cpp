// The number dialog on a number label: the four ways of writing a number,
// the label as it will look, and the range the label allows.
#include "dialogs/frminputnumber.h"
#include "dialogs_support.h"
#include "labels/labeldialogs.h"
#include "labels/writing.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <cmath>

using namespace zarno;
using namespace zarno::test;

namespace {

constexpr double kHuge = 1.7e308;

class NumberDialogTest : public DialogsTest
{
protected:
    NumberDialogTest()
        : writing(TWriting::createNumberWriting())
    {
        writing->setRationalNumber(QStringLiteral("1"), QStringLiteral("2"), 14);
    }
    TFrmInputNumber &form() { return dialogs.numberForm(); }
    // Types into an edit as a user does after selecting its text.
    static void retype(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    std::unique_ptr<TWriting> writing;
};

TEST_F(NumberDialogTest, EachModeGivesItsTypesetTextAndValue)
{
    struct Case
    {
        TNumberMode mode;
        const char *numerator;
        const char *denominator;
        const char *formula;
        const char *tex;
        double value;
    } cases[] = {
        { TNumberMode::nmRational, "3", "4", "", "\\frac{3}{4}", 0.75 },
        { TNumberMode::nmRational, "5", "1", "", "5", 5 },
        { TNumberMode::nmRationalPi, "3", "4", "", "\\frac{3}{4} \\pi", 0.75 * M_PI },
        { TNumberMode::nmRationalPi, "1", "1", "", "\\pi", M_PI },
        // The label keeps the formula's value, not the formula.
        { TNumberMode::nmReal, "", "", "pi/4", "0.785398163397448", M_PI / 4 },
        { TNumberMode::nmDegree, "", "", "30", "{30}^\\circ", M_PI / 6 },
    };
    for (const Case &c : cases) {
        bool previewed = false;
        whenModal([&](QWidget &) {
            form().typeButton(c.mode)->click();
            const bool fraction
                = c.mode == TNumberMode::nmRational || c.mode == TNumberMode::nmRationalPi;
            EXPECT_EQ(form().fractionGroup()->isVisible(), fraction);
            EXPECT_EQ(form().formulaEdit()->isVisible(), !fraction);
            if (fraction) {
                retype(form().numeratorEdit(), QString::fromUtf8(c.numerator));
                retype(form().denominatorEdit(), QString::fromUtf8(c.denominator));
            } else {
                retype(form().formulaEdit(), QString::fromUtf8(c.formula));
            }
            EXPECT_TRUE(form().okButton()->isEnabled())
                << form().statusLabel()->text().toStdString();
            previewed = inkOf(form().previewImage()).black > 10;
            QTest::keyClick(form().okButton(), Qt::Key_Return);
        });
        EXPECT_TRUE(TNumberDialogFacade::edit(0, kHuge, *writing)) << c.tex;
        EXPECT_TRUE(previewed) << c.tex;
        EXPECT_EQ(writing->numberMode(), c.mode);
        EXPECT_EQ(writing->text(), QString::fromUtf8(c.tex));
        EXPECT_NEAR(writing->value(1), c.value, 1e-12) << c.tex;
    }
}

TEST_F(NumberDialogTest, ValuesOutsideTheRangeAreRefusedWithTheReason)
{
    const QString range = QStringLiteral("数値が必要な範囲を外れています。");
    const QString formula = QStringLiteral("数式にエラーがあります。");
    const QString denominator = QStringLiteral("分母は0より大きくなければなりません。");
    struct Case
    {
        double min;
        double max;
        TNumberMode mode;
        const char *first; // numerator or formula
        const char *second; // denominator
        QString message;
    } cases[] = {
        { 0, kHuge, TNumberMode::nmRational, "0", "5", range }, // not above min
        { 0, kHuge, TNumberMode::nmRational, "1", "0", denominator },
        { 0, 1, TNumberMode::nmRational, "3", "4", QString() },
        { 0, 1, TNumberMode::nmRationalPi, "5", "4", range }, // the range ignores π
        { 0, 2, TNumberMode::nmRational, "1999999", "1000000", range }, // within 1e-5 of max
        { 0, kHuge, TNumberMode::nmReal, "-2", "", range },
        { 0, kHuge, TNumberMode::nmReal, "1/0", "", formula },
        { 0, kHuge, TNumberMode::nmReal, "sin(", "", formula },
        { 0, 90, TNumberMode::nmDegree, "120", "", range }, // the degrees as typed
        { -kHuge, kHuge, TNumberMode::nmReal, "-2", "", QString() },
    };
    for (const Case &c : cases) {
        whenModal([&](QWidget &modal) {
            form().typeButton(c.mode)->click();
            if (c.mode == TNumberMode::nmReal || c.mode == TNumberMode::nmDegree) {
                retype(form().formulaEdit(), QString::fromUtf8(c.first));
            } else {
                retype(form().numeratorEdit(), QString::fromUtf8(c.first));
                retype(form().denominatorEdit(), QString::fromUtf8(c.second));
            }
            EXPECT_EQ(form().statusLabel()->text(), c.message) << c.first << "/" << c.second;
            EXPECT_EQ(form().okButton()->isEnabled(), c.message.isEmpty()) << c.first;
            // Enter never closes on unacceptable input.
            QTest::keyClick(form().okButton(), Qt::Key_Return);
            if (modal.isVisible()) {
                messages->answers.push_back(TModalResult::mrYes);
                form().reject();
            }
        });
        const bool ok = TNumberDialogFacade::edit(c.min, c.max, *writing);
        EXPECT_EQ(ok, c.message.isEmpty()) << c.first;
    }
}

TEST_F(NumberDialogTest, TheEditsTakeOnlyWhatTheirModeAllows)
{
    whenModal([&](QWidget &) {
        // Positive numbers only: no minus in the numerator, never in the
        // denominator, no point in either.
        retype(form().numeratorEdit(), QStringLiteral("-3.5"));
        EXPECT_EQ(form().numeratorEdit()->text(), QStringLiteral("35"));
        retype(form().denominatorEdit(), QStringLiteral("-2x"));
        EXPECT_EQ(form().denominatorEdit()->text(), QStringLiteral("2"));
        // Emptied, an edit gets its default back, selected.
        form().numeratorEdit()->selectAll();
        QTest::keyClick(form().numeratorEdit(), Qt::Key_Backspace);
        EXPECT_EQ(form().numeratorEdit()->text(), QStringLiteral("1"));
        EXPECT_EQ(form().numeratorEdit()->selectedText(), QStringLiteral("1"));
        form().typeButton(TNumberMode::nmReal)->click();
        form().formulaEdit()->selectAll();
        QTest::keyClick(form().formulaEdit(), Qt::Key_Delete);
        EXPECT_EQ(form().formulaEdit()->text(), QStringLiteral("1"));
        EXPECT_EQ(form().formulaEdit()->selectedText(), QStringLiteral("1"));
        form().okButton()->click();
    });
    EXPECT_TRUE(TNumberDialogFacade::edit(0, kHuge, *writing));
    EXPECT_EQ(form().windowTitle(), QStringLiteral("正の実数の入力"));

    whenModal([&](QWidget &) {
        retype(form().numeratorEdit(), QStringLiteral("-3"));
        EXPECT_EQ(form().numeratorEdit()->text(), QStringLiteral("-3"));
        form().okButton()->click();
    });
    writing->setRationalNumber(QStringLiteral("1"), QStringLiteral("2"), 14);
    EXPECT_TRUE(TNumberDialogFacade::edit(-kHuge, kHuge, *writing));
    EXPECT_EQ(form().windowTitle(), QStringLiteral("実数の入力"));
    EXPECT_EQ(writing->text(), QStringLiteral("\\frac{-3}{2}"));
}

TEST_F(NumberDialogTest, CancelLeavesTheLabelExactlyAsItWas)
{
    // Unchanged: no question.
    whenModal([&](QWidget &) { QTest::keyClick(form().numeratorEdit(), Qt::Key_Escape); });
    EXPECT_FALSE(TNumberDialogFacade::edit(0, kHuge, *writing));
    EXPECT_TRUE(messages->shown.isEmpty());

    bool stayed = false;
    whenModal([&](QWidget &modal) {
        form().typeButton(TNumberMode::nmDegree)->click();
        retype(form().formulaEdit(), QStringLiteral("45"));
        form().sizeBox()->setCurrentIndex(form().sizeBox()->findData(36));
        messages->answers.push_back(TModalResult::mrNo);
        QTest::keyClick(form().formulaEdit(), Qt::Key_Escape);
        stayed = modal.isVisible();
        messages->answers.push_back(TModalResult::mrYes);
        form().cancelButton()->click();
    });
    EXPECT_FALSE(TNumberDialogFacade::edit(0, kHuge, *writing));
    EXPECT_TRUE(stayed);
    ASSERT_EQ(messages->shown.size(), 2);
    EXPECT_EQ(messages->shown[0].text, QStringLiteral("入力を破棄してもかまいませんか？"));
    EXPECT_EQ(writing->numberMode(), TNumberMode::nmRational);
    EXPECT_EQ(writing->text(), QStringLiteral("\\frac{1}{2}"));
    EXPECT_EQ(writing->pt(), 14);
    // The saved state is gone with the dialog: the label can be edited again.
    whenModal([&](QWidget &) { form().okButton()->click(); });
    EXPECT_TRUE(TNumberDialogFacade::edit(0, kHuge, *writing));
}

TEST_F(NumberDialogTest, TheSizeListShowsOnlyForLabelsThatHaveAChoice)
{
    auto grid = TWriting::createHiddenNumberWriting();
    grid->setSizeSelectable(false);
    bool sizeShown = true;
    whenModal([&](QWidget &) {
        sizeShown = form().sizeBox()->isVisible();
        form().okButton()->click();
    });
    EXPECT_TRUE(TNumberDialogFacade::edit(0, kHuge, *grid));
    EXPECT_FALSE(sizeShown);
    whenModal([&](QWidget &) {
        sizeShown = form().sizeBox()->isVisible();
        form().okButton()->click();
    });
    EXPECT_TRUE(TNumberDialogFacade::edit(0, kHuge, *writing));
    EXPECT_TRUE(sizeShown);
}

} // namespace

namespace {

TEST_F(NumberDialogTest, AltAndALetterReachesEachField)
{
    struct Case
    {
        TNumberMode mode;
        Qt::Key key;
        const char *field; // which edit takes the focus, if any
    } cases[] = {
        { TNumberMode::nmRational, Qt::Key_D, "denominator" },
        { TNumberMode::nmRational, Qt::Key_N, "numerator" },
        { TNumberMode::nmRationalPi, Qt::Key_C, "" }, // no formula in the fraction types
        { TNumberMode::nmReal, Qt::Key_C, "formula" },
        { TNumberMode::nmDegree, Qt::Key_F, "size" },
    };
    for (const Case &c : cases) {
        QString focused = QStringLiteral("?");
        whenModal([&](QWidget &modal) {
            form().typeButton(c.mode)->click();
            // Accelerators work in the active window.
            modal.activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&modal));
            form().okButton()->setFocus();
            QTest::keyClick(&modal, c.key, Qt::AltModifier);
            QWidget *f = QApplication::focusWidget();
            focused = f == form().numeratorEdit() ? QStringLiteral("numerator")
                : f == form().denominatorEdit()   ? QStringLiteral("denominator")
                : f == form().formulaEdit()       ? QStringLiteral("formula")
                : f == form().sizeBox()           ? QStringLiteral("size")
                                                  : QString();
            messages->answers.push_back(TModalResult::mrYes);
            form().reject();
        });
        TNumberDialogFacade::edit(0, kHuge, *writing);
        EXPECT_EQ(focused, QString::fromUtf8(c.field)) << c.key;
    }
}

} // namespace
