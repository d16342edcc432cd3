// A figure with the axes in each number mode, labelled points and arrows and
// a coordinate read-out, drawn on the screen and at 300 dpi. Checked where
// exact values exist; with ZARNO_PICTURE_DIR=folder the pictures are written
// there for a look (axes-rational.png, ... and axes-300dpi.png).
#include "labels/labelclasses.h"
#include "labels/shapewriting.h"
#include "labels/zahyoujiku.h"
#include "labels_support.h"
#include "model/modelclasses.h"
#include "model/shapedot.h"
#include "model/shapefactory.h"
#include "support/guidance_names.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

// An image-file surface at 300 dpi drawing into its own bitmap.
class PrintSurface : public TImageAdapter
{
public:
    PrintSurface(TField &field, QSize size)
        : fView(0, 0, size.width(), size.height())
    {
        FViewerType = TViewerType::Printer;
        FPreview = 1;
        TDpi::setCurrent(300, 300);
        getCanvas().setFontResolution(300);
        setController(&field);
        fitToView();
        clear();
    }
    QRect getViewrect() const override { return fView; }

private:
    QRect fView;
};

class PictureTest : public ::testing::Test
{
protected:
    PictureTest()
    {
        registerModelRelationClasses(factory);
        registerLabelRelationClasses(factory);
        buildFigure();
    }

    TShape *build(TFiguretype type, std::initializer_list<TShape *> parents)
    {
        TShapeList ps;
        for (TShape *p : parents)
            ps.add(p);
        TShapeStore built = factory.createSilently(type, ps);
        TShape *s = built.last();
        field.takeAllFrom(built);
        return s;
    }
    TShapeDot *point(double x, double y, TColor colour = kColorBlack)
    {
        auto *d = static_cast<TShapeDot *>(build(TFiguretype::FIG_dotOnField, {}));
        d->setInitialXY({ x, y });
        d->penBrush().setPenColor(colour);
        d->penBrush().setBrushColor(colour);
        return d;
    }
    TShapeWriting *label(TFiguretype type, TShape *on, const QString &text, TColor colour)
    {
        auto *w = static_cast<TShapeWriting *>(build(type, { on }));
        w->setTextAndPt(text, 14);
        w->penBrush().setPenColor(colour);
        return w;
    }
    void buildFigure()
    {
        // The axes group as a new document has it.
        TShapeStore axesGroup = factory.create(TFiguretype::FIG_zahyoujiku, TShapeList());
        field.takeAllFrom(axesGroup);
        field.setAxesShown(true);
        const TColor blue = makeColor(0, 60, 200), red = makeColor(200, 0, 0);
        TShapeDot *a = point(1, 2), *b = point(-2.5, 1), *c = point(2.5, -1.5, red);
        build(TFiguretype::FIG_senbun, { a, b });
        label(TFiguretype::FIG_writing, a, QStringLiteral("A"), kColorBlack);
        label(TFiguretype::FIG_writing, b, QStringLiteral("B"), kColorBlack)
            ->setOffsetAndDirection({ -0.5, 0.5 }, T_Direction::dirNW);
        TShape *v = build(TFiguretype::FIG_arrow, { b, c });
        v->penBrush().setPenColor(blue);
        v->penBrush().setBrushColor(blue);
        label(TFiguretype::FIG_arrow2writing, v, QStringLiteral("\\vec{v}"), blue)
            ->setOffsetAndDirection({ -1, -1 }, T_Direction::dirSW);
        build(TFiguretype::FIG_dot2zahyou, { c })->penBrush().setPenColor(red);
    }
    TShapeZahyoujiku &axes() { return static_cast<TShapeZahyoujiku &>(*field.axes()); }
    void save(const TBitmap &bmp, const QString &name)
    {
        const QByteArray dir = qgetenv("ZARNO_PICTURE_DIR");
        if (!dir.isEmpty()) {
            EXPECT_TRUE(bmp.saveToFile(QDir(QString::fromLocal8Bit(dir)).filePath(name)));
        }
    }

    test::LabelsReady ready;
    test::InstalledGuidanceNames creator;
    TShapeFactory factory;
    TField field;
};

struct Mode
{
    const char *file;
    double mmPerUnit;
    std::function<void(TWriting &)> scale;
    double firstMark; // the value of the first scale mark on each side
};

TEST_F(PictureTest, TheAxesInEachNumberModeWithLabelsAndAReadOut)
{
    const Mode modes[] = {
        { "axes-rational.png", 20,
            [](TWriting &w) { w.setRationalNumber(QStringLiteral("1"), QStringLiteral("2"), 11); },
            0.5 },
        { "axes-rational-pi.png", 12,
            [](TWriting &w) {
                w.setRationalNumberPi(QStringLiteral("1"), QStringLiteral("3"), 11);
            },
            M_PI / 3 },
        { "axes-real.png", 20, [](TWriting &w) { w.setRealNumber(QStringLiteral("0.75"), 11); },
            0.75 },
        { "axes-degree.png", 16, [](TWriting &w) { w.setDegreeNumber(QStringLiteral("45"), 11); },
            M_PI / 4 },
    };
    for (const Mode &m : modes) {
        field.multiplyScale(
            m.mmPerUnit / field.getMmPerModel1().x, m.mmPerUnit / field.getMmPerModel1().y);
        for (int i = 0; i < 2; ++i) {
            m.scale(axes().axe(i).scaleInterval());
            axes().axe(i).gridlineInterval().setRationalNumber(
                QStringLiteral("1"), QStringLiteral("4"), 11);
            axes().axe(i).gridlineInterval().setView(true);
        }
        test::RecordingScreen screen(field, QSize(800, 600));
        TDrawStatus status;
        screen.redraw(field, status);
        const TBitmap &bmp = screen.getBitmap();
        // The first mark right of the origin: a black tick, and its number
        // below it, black too.
        const QPoint mark = screen.modelToPixel({ m.firstMark, 0 });
        EXPECT_EQ(bmp.pixel(mark.x(), mark.y() - 2), kColorBlack) << m.file;
        bool numberInk = false;
        for (int y = mark.y() + 3; y < mark.y() + 30; ++y)
            for (int x = mark.x() - 4; x <= mark.x() + 4; ++x)
                numberInk = numberInk || bmp.pixel(x, y) == kColorBlack;
        EXPECT_TRUE(numberInk) << m.file;
        // A grid line far from everything else is light grey.
        const QPoint grid = screen.modelToPixel({ -4.5, -3.6 });
        EXPECT_EQ(bmp.pixel(grid.x(), grid.y()), 0xC0C0C0u) << m.file;
        save(bmp, QString::fromLatin1(m.file));
    }

    // The last one again at 300 dpi, as an image file has it.
    PrintSurface print(field, QSize(2664, 1998));
    TDrawStatus status;
    field.draw(status, print);
    const QRect ink = test::inkBounds(print.getBitmap());
    EXPECT_GT(ink.width(), 2000);
    save(print.getBitmap(), QStringLiteral("axes-300dpi.png"));
}

} // namespace
