// Makes the documents whose pictures show each figure tool in the manual:
//
//   zarno_manual_figures OUTDIR
//
// Each document is built in the real main window as a user builds it: the
// points placed with the point tool, the inputs selected, the tool pressed
// and its dialogs filled in. What the tool made is drawn in blue, the inputs
// in black with their names, and the output area frames the whole. The
// documents are kept beside the manual's text; the build draws them with the
// command-line exporter, so the pictures show what the program draws now.
// Run this again when a construction changes what it makes.
#include "app/appli.h"
#include "app/coorddialogs.h"
#include "app/figureactionmanager.h"
#include "app/logic/commands.h"
#include "app/logic/controller.h"
#include "app/logic/model.h"
#include "app/mainwindow.h"
#include "app/menuactionmanager.h"
#include "app/previewbox.h"
#include "core/figurecatalog.h"
#include "dialogs/frmformula.h"
#include "model/field.h"
#include "model/shapedot.h"
#include "persist/loadsave.h"
#include "render/displayadapter.h"
#include "render/printarea.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>

using namespace zarno;

namespace {

constexpr TColor kResult = makeColor(0x10, 0x50, 0xC8);

class OneName : public TFileDialogs
{
public:
    explicit OneName(QString name)
        : fName(std::move(name))
    { }
    QString openDialog(const QString &, const QString &) override { return fName; }
    QString saveDialog(const QString &, const QString &, const QString &) override { return fName; }

private:
    QString fName;
};

// Answers the modal dialogs as they come, in order: each answer is given the
// dialog on top. A dialog nobody expected is reported and closed.
class Answers : public QObject
{
public:
    Answers()
    {
        fTimer.setInterval(20);
        connect(&fTimer, &QTimer::timeout, this, [this] { answer(); });
        fTimer.start();
    }
    void push(std::function<void(QWidget *)> f) { fQueue.push_back(std::move(f)); }
    bool empty() const { return fQueue.empty(); }
    void clear() { fQueue.clear(); }
    int unexpected = 0;

private:
    void answer()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (!top || !top->isVisible() || fBusy.contains(top))
            return;
        if (fQueue.empty()) {
            std::fprintf(stderr, "unexpected dialog: %s\n", qPrintable(top->windowTitle()));
            ++unexpected;
            top->close();
            return;
        }
        auto f = std::move(fQueue.front());
        fQueue.pop_front();
        // A dialog being answered may open another one on top of it, whose
        // answer must come from this timer while the first answer waits:
        // the answer runs outside the timer's own call.
        fBusy.insert(top);
        QTimer::singleShot(0, this, [this, top, f = std::move(f)] {
            f(top);
            fBusy.remove(top);
        });
    }
    QTimer fTimer;
    std::deque<std::function<void(QWidget *)>> fQueue;
    QSet<QWidget *> fBusy;
};

// The formula or text dialog: types the text and presses OK.
std::function<void(QWidget *)> typed(const QString &text)
{
    return [text](QWidget *w) {
        auto *d = dynamic_cast<TFrmFormula *>(w);
        if (!d) {
            std::fprintf(
                stderr, "expected the formula dialog, got %s\n", qPrintable(w->windowTitle()));
            w->close();
            return;
        }
        d->edit()->clear();
        QTest::keyClicks(d->edit(), text);
        d->okButton()->click();
    };
}

struct Frame
{
    double left, top, right, bottom;
};

class Builder
{
public:
    explicit Builder(QString outDir)
        : fOut(std::move(outDir))
    {
        window.resize(900, 700);
        appli = std::make_unique<TAppli>(window);
        window.show();
        (void)QTest::qWaitForWindowExposed(&window);
    }
    ~Builder() { appli.reset(); }

    TField &field() { return appli->controller().field(); }

    // A new document; axes shown or not.
    void start(bool axes)
    {
        appli->controller().newFile();
        QAction *toggle = appli->menus().action(TCommandId::cmdZahyoujikuToggle);
        if (toggle->isChecked() != axes)
            toggle->trigger();
    }

    // The document's origin point.
    TShape *origin()
    {
        for (int i = 0; i < field().count(); ++i)
            if (field().item(i)->getFigureType() == TFiguretype::FIG_genten)
                return field().item(i);
        return nullptr;
    }

    TShapeDot *point(double x, double y)
    {
        // No point is made on another one (the origin's): make it where
        // nothing is, and move it.
        if (!pointOn(x, y))
            pointOn(-4.5, -3.2);
        auto *dot = dynamic_cast<TShapeDot *>(field().last());
        // Exactly where asked, not where the pixel was.
        if (dot && dot->getFigureType() == TFiguretype::FIG_dotOnField) {
            dot->setXY({ x, y });
            appli->controller().refreshFull();
        }
        return dot;
    }

    // A point placed with the point tool at (x, y): on the curve there, if
    // any. Nothing when no point could be made there.
    TShape *pointOn(double x, double y)
    {
        const int before = field().count();
        appli->tools().pointTool()->setChecked(true);
        QTest::mouseClick(window.view(), Qt::LeftButton, Qt::NoModifier, px(x, y));
        appli->tools().pointTool()->setChecked(false);
        return field().count() > before ? field().last() : nullptr;
    }

    void select(const QList<TShape *> &shapes)
    {
        appli->model().clearSelection();
        for (TShape *s : shapes)
            appli->controller().addToSelection(s);
    }

    // Presses the tool with shapes selected; returns what it made.
    QList<TShape *> make(TFiguretype tool, const QList<TShape *> &shapes)
    {
        if (shapes.contains(nullptr)) {
            answers.clear();
            std::fprintf(stderr, "%s: an input was not made\n",
                qPrintable(TFigureInfo::guidanceTemplate(tool)));
            ++failures;
            return {};
        }
        select(shapes);
        const int before = field().count();
        // The menu's item: a tool whose button is hidden by default is
        // still in the menu.
        QAction *a = appli->tools().menuAction(tool);
        if (!a || !a->isEnabled()) {
            answers.clear(); // they were meant for this tool's dialogs
            for (TShape *s : appli->model().getSelection().items())
                std::fprintf(stderr, "  selected: %s\n", qPrintable(s->guidanceName()));
            std::fprintf(
                stderr, "%s: not enabled\n", qPrintable(TFigureInfo::guidanceTemplate(tool)));
            ++failures;
            return {};
        }
        a->trigger();
        appli->model().clearSelection();
        QList<TShape *> made;
        for (int i = before; i < field().count(); ++i)
            made << field().item(i);
        if (made.isEmpty()) {
            std::fprintf(
                stderr, "%s: made nothing\n", qPrintable(TFigureInfo::guidanceTemplate(tool)));
            ++failures;
        }
        return made;
    }

    // Draws shapes in the result colour.
    void mark(const QList<TShape *> &shapes)
    {
        for (TShape *s : shapes) {
            TPenBrush blue;
            blue.setState(TPenBrush::aPenColor, TPenBrushState::pbSelect);
            blue.setPenColor(kResult);
            if (s->getFigureType() != TFiguretype::FIG_paint) {
                blue.setState(TPenBrush::aBrushColor, TPenBrushState::pbSelect);
                blue.setBrushColor(kResult);
            }
            s->copyPenBrushFrom(blue);
            s->changed();
        }
        appli->controller().refreshFull();
    }

    // A name beside a point.
    void name(TShape *dot, const QString &text)
    {
        answers.push(typed(text));
        make(TFiguretype::FIG_writing, { dot });
    }

    // Frames the scene and saves the document as name.znt.
    // The manual draws one unit as 10 mm, which the export allows for frames
    // at least 4.3 units wide.
    void save(const QString &name, const Frame &frame)
    {
        auto *area = dynamic_cast<TShapePrintArea *>(field().printArea());
        if (area && area->hasParts()) {
            area->corner(0).setXY({ frame.right, frame.top });
            area->followCorner(area->corner(0));
            area->corner(2).setXY({ frame.left, frame.bottom });
            area->followCorner(area->corner(2));
        }
        appli->controller().refreshFull();
        const QString path = QDir(fOut).filePath(name + QStringLiteral(".znt"));
        QFile::remove(path);
        auto previous = TFileDialogs::install(std::make_unique<OneName>(path));
        appli->controller().saveFile(true);
        TFileDialogs::install(std::move(previous));
        if (!QFile::exists(path)) {
            std::fprintf(stderr, "%s was not written\n", qPrintable(path));
            ++failures;
        } else {
            std::printf("%s\n", qPrintable(path));
        }
    }

    void drag(const QList<TModelPoint> &path)
    {
        QTest::mousePress(window.view(), Qt::LeftButton, Qt::NoModifier, px(path[0].x, path[0].y));
        for (const TModelPoint &p : path)
            QTest::mouseMove(window.view(), px(p.x, p.y));
        QTest::mouseRelease(
            window.view(), Qt::LeftButton, Qt::NoModifier, px(path.last().x, path.last().y));
    }

    Answers answers;
    int failures = 0;

private:
    QPoint px(double x, double y) { return appli->screen().modelToPixel({ x, y }); }

    QString fOut;
    TfrmMain window;
    std::unique_ptr<TAppli> appli;
};

using F = TFiguretype;

// A tool over the points P1, P2, … placed and named in order.
void fromPoints(Builder &b, TFiguretype tool, const QString &file, const QList<TModelPoint> &points,
    const Frame &frame, bool axes = false)
{
    b.start(axes);
    QList<TShape *> dots;
    for (const TModelPoint &p : points)
        dots << b.point(p.x, p.y);
    for (int i = 0; i < dots.size(); ++i)
        b.name(dots[i], QStringLiteral("P_%1").arg(i + 1));
    b.mark(b.make(tool, dots));
    b.save(file, frame);
}

// The answers for the coordinate dialog of a point given by formulas: each
// coordinate's formula typed in its own dialog.
void coordinates(Builder &b, const QString &x, const QString &y)
{
    b.answers.push([](QWidget *w) {
        auto *d = dynamic_cast<TFrmInputZahyou *>(w);
        if (!d)
            return w->close(), void();
        for (int axis = 0; axis < 2; ++axis)
            d->preview(axis)->click();
        d->okButton()->click();
    });
    b.answers.push(typed(x));
    b.answers.push(typed(y));
}

void buildAll(Builder &b)
{
    // Points.
    {
        b.start(false);
        TShapeDot *p1 = b.point(-1, -0.5);
        b.name(p1, QStringLiteral("P_1"));
        coordinates(b, QStringLiteral("p1.x+2"), QStringLiteral("p1.y+1"));
        b.mark(b.make(F::FIG_shapeVariable2dot, { p1 }));
        b.save(QStringLiteral("tool-shapeVariable2dot"), { -2, 1.5, 2, -1.5 });
    }
    {
        b.start(false);
        TShapeDot *o = b.point(0, 0);
        TShapeDot *r = b.point(1, 0);
        TShape *c = b.make(F::FIG_circle, { o, r }).value(0);
        TShapeDot *p1 = b.point(2.4, 0.6);
        b.name(p1, QStringLiteral("P_1"));
        b.mark(b.make(F::FIG_setten, { p1, c }));
        b.save(QStringLiteral("tool-setten"), { -1.5, 1.5, 3, -1.5 });
    }
    {
        b.start(true);
        TShape *o = b.origin();
        b.answers.push(typed(QStringLiteral("x^3/3-x")));
        TShape *g = b.make(F::FIG_function, { o }).value(0);
        b.mark(b.make(F::FIG_seishiki2kyokuchiDots, { g }));
        b.save(QStringLiteral("tool-seishiki2kyokuchiDots"), { -2.5, 2, 2.5, -2 });
    }
    // Lines.
    auto twoPoints = [&b](F tool, const QString &file) {
        fromPoints(b, tool, file, { { -1.2, -0.6 }, { 0.8, 0.6 } }, { -2.5, 1.5, 2.5, -1.5 });
    };
    twoPoints(F::FIG_line, QStringLiteral("tool-line"));
    twoPoints(F::FIG_senbun, QStringLiteral("tool-senbun"));
    twoPoints(F::FIG_hanCyokusen, QStringLiteral("tool-hanCyokusen"));
    twoPoints(F::FIG_arrow, QStringLiteral("tool-arrow"));
    twoPoints(F::FIG_arrowLine, QStringLiteral("tool-arrowLine"));
    twoPoints(F::FIG_arrowHanCyokusen, QStringLiteral("tool-arrowHanCyokusen"));
    for (F tool : { F::FIG_line_1tenHeikou, F::FIG_line_1tenSuicyoku }) {
        b.start(false);
        TShapeDot *a = b.point(-2, -1);
        TShapeDot *c = b.point(1.5, -0.6);
        TShape *l1 = b.make(F::FIG_line, { a, c }).value(0);
        TShapeDot *p1 = b.point(-0.3, 0.8);
        b.name(p1, QStringLiteral("P_1"));
        b.mark(b.make(tool, { p1, l1 }));
        b.save(tool == F::FIG_line_1tenHeikou ? QStringLiteral("tool-line_1tenHeikou")
                                              : QStringLiteral("tool-line_1tenSuicyoku"),
            { -2.5, 1.5, 2.5, -1.5 });
    }
    {
        b.start(false);
        TShapeDot *o = b.point(0, 0);
        TShapeDot *r = b.point(1.2, 0);
        TShape *c1 = b.make(F::FIG_circle, { o, r }).value(0);
        TShape *p1 = b.pointOn(1.2 * std::cos(1.0), 1.2 * std::sin(1.0));
        b.name(p1, QStringLiteral("P_1"));
        b.mark(b.make(F::FIG_sessenOnCircle, { c1, p1 }));
        b.save(QStringLiteral("tool-sessenOnCircle"), { -2, 2, 2.8, -1.6 });
    }
    {
        b.start(false);
        TShapeDot *o = b.point(0, 0);
        TShapeDot *a = b.point(1.6, 0);
        TShapeDot *c = b.point(0, 0.9);
        TShape *e1 = b.make(F::FIG_ellipse, { o, a, c }).value(0);
        TShape *p1 = b.pointOn(1.6 * std::cos(1.0), 0.9 * std::sin(1.0));
        b.name(p1, QStringLiteral("P_1"));
        b.mark(b.make(F::FIG_sessenOnEllipse, { e1, p1 }));
        b.save(QStringLiteral("tool-sessenOnEllipse"), { -2.2, 1.8, 2.8, -1.4 });
    }
    // Circles and ellipses.
    fromPoints(b, F::FIG_circle, QStringLiteral("tool-circle"), { { 0, 0 }, { 1, 0.6 } },
        { -2.2, 1.5, 2.2, -1.5 });
    fromPoints(b, F::FIG_gaisetsuen, QStringLiteral("tool-gaisetsuen"),
        { { -1, -0.5 }, { 1.2, -0.4 }, { 0.2, 0.9 } }, { -2.2, 1.5, 2.2, -1.5 });
    fromPoints(b, F::FIG_arc, QStringLiteral("tool-arc"), { { 0, 0 }, { 1.2, 0.2 }, { -0.4, 1.1 } },
        { -2.2, 1.5, 2.2, -1.5 });
    fromPoints(b, F::FIG_ellipse, QStringLiteral("tool-ellipse"),
        { { 0, 0 }, { 1.6, 0.3 }, { -0.5, 0.8 } }, { -2.2, 1.5, 2.2, -1.5 });
    // Intersections.
    {
        b.start(false);
        TShape *l1 = b.make(F::FIG_line, { b.point(-2, -1), b.point(1.5, 0.6) }).value(0);
        TShape *l2 = b.make(F::FIG_line, { b.point(-1.5, 1), b.point(1.2, -1) }).value(0);
        b.mark(b.make(F::FIG_koutenLineLine, { l1, l2 }));
        b.save(QStringLiteral("tool-koutenLineLine"), { -2.2, 1.5, 2.2, -1.5 });
    }
    {
        b.start(false);
        TShape *c1 = b.make(F::FIG_circle, { b.point(0, 0), b.point(1.1, 0) }).value(0);
        TShape *l1 = b.make(F::FIG_line, { b.point(-2, -0.9), b.point(2, 0.5) }).value(0);
        b.mark(b.make(F::FIG_koutenLineCircle, { l1, c1 }));
        b.save(QStringLiteral("tool-koutenLineCircle"), { -2.2, 1.5, 2.2, -1.5 });
    }
    {
        b.start(false);
        TShape *c1 = b.make(F::FIG_circle, { b.point(-0.6, 0), b.point(0.5, 0) }).value(0);
        TShape *c2 = b.make(F::FIG_circle, { b.point(0.7, 0.2), b.point(0.7, -0.8) }).value(0);
        b.mark(b.make(F::FIG_koutenCircleCircle, { c1, c2 }));
        b.save(QStringLiteral("tool-koutenCircleCircle"), { -2.2, 1.5, 2.2, -1.5 });
    }
    // Painting: the part of the disc below the line that holds P1.
    {
        b.start(false);
        TShape *c1 = b.make(F::FIG_circle, { b.point(0, 0), b.point(1.2, 0) }).value(0);
        TShape *l1 = b.make(F::FIG_line, { b.point(-2, 0.3), b.point(2, 0.6) }).value(0);
        TShapeDot *p1 = b.point(0.1, -0.5);
        b.name(p1, QStringLiteral("P_1"));
        b.mark(b.make(F::FIG_paint, { p1, c1, l1 }));
        b.save(QStringLiteral("tool-paint"), { -2, 1.5, 2, -1.5 });
    }
    // Labels.
    {
        b.start(false);
        TShapeDot *p1 = b.point(0, 0);
        b.answers.push(typed(QStringLiteral("A_1")));
        b.mark(b.make(F::FIG_writing, { p1 }));
        b.save(QStringLiteral("tool-writing"), { -2.2, 0.8, 2.2, -0.6 });
    }
    {
        b.start(false);
        TShape *a1 = b.make(F::FIG_arrow, { b.point(-1, -0.4), b.point(0.8, 0.4) }).value(0);
        b.answers.push(typed(QStringLiteral("\\vec{a}")));
        b.mark(b.make(F::FIG_arrow2writing, { a1 }));
        b.save(QStringLiteral("tool-arrow2writing"), { -2.2, 1, 2.2, -1 });
    }
    {
        b.start(true);
        TShapeDot *p1 = b.point(1.5, 1);
        b.mark(b.make(F::FIG_dot2zahyou, { p1 }));
        b.save(QStringLiteral("tool-dot2zahyou"), { -1, 2, 3.5, -1 });
    }
    {
        b.start(true);
        TShapeDot *p1 = b.point(1.5, 1);
        b.mark(b.make(F::FIG_dot2zahyouGroup, { p1 }));
        b.save(QStringLiteral("tool-dot2zahyouGroup"), { -1.2, 2, 3.2, -1 });
    }
    {
        b.start(false);
        // No names: the value stands where a point's name would.
        TShapeDot *p1 = b.point(-1, -0.4);
        TShapeDot *p2 = b.point(1, 0.6);
        b.answers.push([](QWidget *w) {
            auto *d = dynamic_cast<TFrmInputZahyouProperty *>(w);
            if (!d)
                return w->close(), void();
            d->valuePreview()->click();
            d->okButton()->click();
        });
        b.answers.push(typed(QStringLiteral("sqrt((p1.x-p2.x)^2+(p1.y-p2.y)^2)")));
        b.mark(b.make(F::FIG_shapeVariable2value, { p1, p2 }));
        b.save(QStringLiteral("tool-shapeVariable2value"), { -2, 1.2, 2, -1 });
    }
    // Graphs.
    {
        b.start(true);
        TShape *o = b.origin();
        b.answers.push(typed(QStringLiteral("x^2/2-1")));
        b.mark(b.make(F::FIG_function, { o }));
        b.save(QStringLiteral("tool-function"), { -2.5, 2, 2.5, -1.5 });
    }
    {
        b.start(true);
        TShape *o = b.origin();
        b.answers.push(typed(QStringLiteral("y^2/2-1")));
        b.mark(b.make(F::FIG_functionY, { o }));
        b.save(QStringLiteral("tool-functionY"), { -1.5, 2, 2.5, -2 });
    }
    fromPoints(b, F::FIG_seishiki, QStringLiteral("tool-seishiki"),
        { { -1.5, 1 }, { 0, -1 }, { 1.5, 0.5 } }, { -2.5, 2, 2.5, -1.5 }, true);
    {
        b.start(true);
        TShape *o = b.origin();
        TShape *c1 = b.make(F::FIG_circle, { b.point(-2, 1), b.point(-1.2, 1) }).value(0);
        b.answers.push(typed(QStringLiteral("c1.r*sin(x)")));
        b.mark(b.make(F::FIG_shapeVariable2function, { o, c1 }));
        b.save(QStringLiteral("tool-shapeVariable2function"), { -3, 2, 3, -1.5 });
    }
    // A locus: the midpoint of A and a point P on the circle, as P goes round.
    {
        b.start(false);
        TShapeDot *o = b.point(0, 0);
        TShape *c = b.make(F::FIG_circle, { o, b.point(1.2, 0) }).value(0);
        TShape *p = b.pointOn(0, -1.2);
        TShapeDot *a = b.point(2.4, 0);
        b.name(a, QStringLiteral("A"));
        b.name(p, QStringLiteral("P"));
        coordinates(b, QStringLiteral("(p1.x+p2.x)/2"), QStringLiteral("(p1.y+p2.y)/2"));
        TShape *m = b.make(F::FIG_shapeVariable2dot, { p, a }).value(0);
        b.name(m, QStringLiteral("M"));
        b.mark(b.make(F::FIG_tracer, { m }));
        (void)c;
        QList<TModelPoint> path;
        for (int i = 0; i <= 72; ++i) {
            const double t = -M_PI / 2 + 2 * M_PI * i / 72;
            path << TModelPoint { 1.2 * std::cos(t), 1.2 * std::sin(t) };
        }
        b.drag(path);
        b.save(QStringLiteral("tool-tracer"), { -1.6, 1.5, 2.8, -1.9 });
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and recovery copies of this run stay out of the user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("zarno"));
    if (argc != 2) {
        std::fprintf(stderr, "usage: zarno_manual_figures OUTDIR\n");
        return 2;
    }
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    Builder b(QString::fromLocal8Bit(argv[1]));
    buildAll(b);
    if (!b.answers.empty()) {
        std::fprintf(stderr, "dialogs that never came\n");
        return 1;
    }
    return b.failures + b.answers.unexpected > 0 ? 1 : 0;
}
