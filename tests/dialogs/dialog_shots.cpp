// Pictures of the formula and number dialogs in each of their modes, for
// looking at on a real display: dialog_shots OUTDIR.
#include "core/messagedialogs.h"
#include "dialogs/formuladialogs.h"
#include "dialogs/formulafacade.h"
#include "dialogs/frmformula.h"
#include "dialogs/frminputnumber.h"
#include "formula/calcformulafacade.h"
#include "graphs/dot2function.h"
#include "graphs/range.h"
#include "labels/labeldialogs.h"
#include "labels/writing.h"
#include "model/dialogfacades.h"
#include "typeset/typeset_support.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <cstdio>

using namespace zarno;

namespace {

QString outDir;

// Discarding an input in the harness needs no question.
class YesToAll : public TMessageDialogs
{
public:
    void showMessage(const QString &, const QString &, TMsgDlgType) override { }
    TModalResult askMessage(const QString &, const QString &, TMsgDlgButtons, TMsgDlgType) override
    {
        return TModalResult::mrYes;
    }
};

// Saves the modal dialog once it is up and laid out, then lets script close it.
void shootWhenUp(const QString &name, std::function<void(QWidget &)> before,
    std::function<void(QWidget &)> close)
{
    QTimer::singleShot(300, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal) {
            std::fprintf(stderr, "no dialog for %s\n", qPrintable(name));
            return;
        }
        before(*modal);
        QApplication::processEvents();
        QTimer::singleShot(300, [=] {
            QWidget *m = QApplication::activeModalWidget();
            m->grab().save(outDir + QLatin1Char('/') + name + QStringLiteral(".png"));
            close(*m);
        });
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/zarno-shots");
    QDir().mkpath(outDir);
    test::useInstalledFonts();
    TMessageDialogs::install(std::make_unique<YesToAll>());
    TFormulaDialogs dialogs(nullptr);
    TFrmFormula &form = dialogs.input().form();
    auto ok = [&](QWidget &) { form.accept(); };

    // A point's coordinate with two points as parents: the shape attributes.
    {
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        TCalcSymbolOnOff onOff;
        onOff.pointCount = 2;
        calc->setCalcSymbolOnOff(onOff);
        QString text = QStringLiteral("(p1.x+p2.x)/2+sqrt(2)");
        int pt = 0;
        shootWhenUp(
            QStringLiteral("formula-calc"),
            [&](QWidget &) { form.showTab(QStringLiteral("形の属性")); }, ok);
        TCalcFormulaDialogFacade::edit(QStringLiteral("inputZahyou"), *calc, text, pt, false);
    }
    // The same mode with the parser's message.
    {
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        TCalcSymbolOnOff onOff;
        onOff.xOn = true;
        calc->setCalcSymbolOnOff(onOff);
        QString text = QStringLiteral("sin(2x");
        int pt = 0;
        shootWhenUp(
            QStringLiteral("formula-calc-error"),
            [&](QWidget &) { form.showTab(QStringLiteral("関数")); },
            [&](QWidget &) {
                form.edit()->setText(QStringLiteral("sin(2x)"));
                form.accept();
            });
        TCalcFormulaDialogFacade::edit(QStringLiteral("something2dot"), *calc, text, pt, false);
    }
    // Typeset text for a label.
    {
        QString text = QStringLiteral("\\frac{1}{2}\\alpha + \\sqrt{x^2+1}");
        int pt = 18;
        shootWhenUp(
            QStringLiteral("formula-tex"), [&](QWidget &) { form.showTab(QStringLiteral("他")); },
            ok);
        TWritingDialogFacade::edit(text, pt);
    }
    // A graph with its domain.
    {
        QString text = QStringLiteral("x^2-1");
        TRange range;
        range.fMinIsInfinity = false;
        range.setMinText(QStringLiteral("-1"));
        range.setMaxText(QStringLiteral("2"));
        shootWhenUp(
            QStringLiteral("formula-graph-domain"), [](QWidget &) {}, ok);
        TFunctionDialogFacade::edit(text, range, false);
    }
    // The number dialog in its four modes.
    const struct
    {
        TNumberMode mode;
        const char *name;
        const char *input;
    } modes[] = {
        { TNumberMode::nmRational, "number-rational", nullptr },
        { TNumberMode::nmRationalPi, "number-rational-pi", nullptr },
        { TNumberMode::nmReal, "number-real", "sqrt(2)" },
        { TNumberMode::nmDegree, "number-degree", "-30" },
    };
    for (const auto &m : modes) {
        auto writing = TWriting::createNumberWriting();
        writing->setRationalNumber(QStringLiteral("3"), QStringLiteral("4"), 16);
        TFrmInputNumber &number = dialogs.numberForm();
        shootWhenUp(
            QString::fromUtf8(m.name),
            [&](QWidget &) {
                number.typeButton(m.mode)->click();
                if (m.input)
                    number.formulaEdit()->setText(QString::fromUtf8(m.input));
            },
            [&](QWidget &) { number.reject(); });
        // The degree mode shows the range message: positive numbers only.
        TNumberDialogFacade::edit(0, 1.7e308, *writing);
    }
    std::printf("shots in %s\n", qPrintable(outDir));
    return 0;
}
