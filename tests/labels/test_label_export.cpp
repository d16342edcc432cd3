// Labels and the axes in exported images: the program's own JPEG and
// metafile export at 300 dpi, through the save dialog's answer.
#include "labels_fixture.h"
#include "persist/zarnofile.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace zarno;
using namespace zarno::test;

namespace {

// The save dialog: always the one file name, 20 mm per unit.
class FixedGraphicfileDialog : public TSaveGraphicfileDialog
{
public:
    bool execute(QString &fileName, TGraphicfileProperty &property, int) override
    {
        fileName = answer;
        property.scaleType = TGraphicFileScaletype::gstHAxe1;
        property.hAxe1_mm = 20;
        return true;
    }
    QString answer;
};

bool isRed(QRgb c)
{
    return qRed(c) > 160 && qGreen(c) < 100 && qBlue(c) < 100;
}

bool isDark(QRgb c)
{
    return qGray(c) < 100;
}

// The bounding box of the pixels that pass within a rectangle.
template <typename Test> QRect inkIn(const QImage &image, const QRect &within, Test test)
{
    QRect box;
    const QRect r = within & image.rect();
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (test(image.pixel(x, y)))
                box |= QRect(x, y, 1, 1);
    return box;
}

class LabelExportTest : public LabelInteractionTest
{
protected:
    LabelExportTest()
        : LabelInteractionTest(true)
    {
        auto d = std::make_unique<FixedGraphicfileDialog>();
        dialog = d.get();
        fPrevious = TSaveGraphicfileDialog::install(std::move(d));
    }
    ~LabelExportTest() override { TSaveGraphicfileDialog::install(std::move(fPrevious)); }

    // The axes and the output area shown, a point at (1, 1) with a red label.
    void buildFigure()
    {
        controller->executeAction(TCommandId::cmdZahyoujikuToggle, true);
        controller->executeAction(TCommandId::cmdPrintAreaToggle, true);
        TShapeDot *p = clickPoint(1, 1);
        point = p;
        writingDialog->answers.push_back({ QStringLiteral("A"), 20 });
        auto *label = static_cast<TShapeWriting *>(construct(TFiguretype::FIG_writing, { p }));
        ASSERT_NE(label, nullptr);
        label->penBrush().setPenColor(kColorRed);
        model.clearSelection();
        area = static_cast<TShapePrintArea *>(field().printArea())->modelRect();
    }
    bool exportAs(const QString &name)
    {
        dialog->answer = dir.filePath(name);
        return controller->saveGraphicfile();
    }
    // Where a model point lies in the exported image of the area.
    QPoint imagePixel(const QImage &image, double x, double y) const
    {
        return QPoint(int(std::lround((x - area.left) / (area.right - area.left) * image.width())),
            int(std::lround((area.top - y) / (area.top - area.bottom) * image.height())));
    }

    QTemporaryDir dir;
    FixedGraphicfileDialog *dialog = nullptr;
    TModelViewRect area;
    TShapeDot *point = nullptr;

private:
    std::unique_ptr<TSaveGraphicfileDialog> fPrevious;
};

TEST_F(LabelExportTest, TheJpegShowsTheLabelAtItsMillimetreOffsetAndTheScaleNumbers)
{
    buildFigure();
    ASSERT_TRUE(exportAs(QStringLiteral("labels.jpg")));
    const QImage image(dir.filePath(QStringLiteral("labels.jpg")));
    ASSERT_FALSE(image.isNull());
    // 20 mm per unit at 300 dpi.
    const double perUnit = 20 * 300 / 25.4;
    EXPECT_NEAR(image.width(), (area.right - area.left) * perUnit, 2);

    // The label: 20 pt text whose box starts 0.5 mm (6 pixels) right of
    // and below its point; a capital A is about 4.8 mm high at 20 pt, its
    // pointed top a little above its box and its foot a little right.
    const QPoint p = imagePixel(image, point->getX(), point->getY());
    const QRect red = inkIn(image, QRect(p, QSize(200, 200)), isRed);
    ASSERT_FALSE(red.isEmpty());
    EXPECT_NEAR(red.left(), p.x() + 6, 4);
    EXPECT_NEAR(red.top(), p.y() + 6, 4);
    EXPECT_NEAR(red.height(), 20 / 72.0 * 300 * 0.68, 12);

    // The axes: the number "1" under the x axis at x = 1 and "2" at x = 2,
    // each centred under its tick, none at the origin's right side between.
    for (int unit : { 1, 2, -1 }) {
        const QPoint m = imagePixel(image, unit, 0);
        // Below the tick (0.8 mm = 9 pixels) and the 0.5 mm offset.
        const QRect number = inkIn(image, QRect(m.x() - 40, m.y() + 12, 81, 60), isDark);
        ASSERT_FALSE(number.isEmpty()) << unit;
        EXPECT_NEAR(number.center().x(), m.x(), 6) << unit;
        // The tick itself: dark pixels right above and below the axis.
        EXPECT_TRUE(isDark(image.pixel(m.x(), m.y() - 6))) << unit;
        EXPECT_TRUE(isDark(image.pixel(m.x(), m.y() + 6))) << unit;
    }
    // The origin point is for editing only: the origin is the crossing of
    // the axes, no filled square around it.
    const QPoint o = imagePixel(image, 0, 0);
    EXPECT_FALSE(isDark(image.pixel(o.x() + 8, o.y() - 8)));
}

TEST_F(LabelExportTest, TheMetafileHoldsTheLabelAndTheNumbersAsOutlines)
{
    buildFigure();
    ASSERT_TRUE(exportAs(QStringLiteral("labels.emf")));
    const QString emf = dir.filePath(QStringLiteral("labels.emf"));
    // The same figure without the label and the axes, for comparison.
    controller->executeAction(TCommandId::cmdZahyoujikuToggle, false);
    static_cast<TShapeWriting *>(field().last())->writing().setView(false);
    ASSERT_TRUE(exportAs(QStringLiteral("bare.emf")));
    const QString bare = dir.filePath(QStringLiteral("bare.emf"));
    QFile a(emf), b(bare);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray withText = a.readAll(), without = b.readAll();
    EXPECT_EQ(withText.mid(40, 4), QByteArray(" EMF"));
    // Typeset glyphs are filled outlines: dozens of numbers make the file
    // many times larger.
    EXPECT_GT(withText.size(), 4 * without.size());

    // Where the converter is installed: the label's outline is red.
    const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (converter.isEmpty())
        return;
    const QString svg = dir.filePath(QStringLiteral("labels.svg"));
    ASSERT_EQ(
        QProcess::execute(converter, { QStringLiteral("-i"), emf, QStringLiteral("-o"), svg }), 0);
    QFile s(svg);
    ASSERT_TRUE(s.open(QIODevice::ReadOnly));
    EXPECT_TRUE(s.readAll().toLower().contains("#ff0000"));
}

TEST_F(LabelExportTest, TheCommandLineExporterReadsAndDrawsLabelsAndTheAxes)
{
    buildFigure();
    const QString document = dir.filePath(QStringLiteral("labels.znt"));
    TDocumentWriter::write(controller->document(), document);
    const QString jpg = dir.filePath(QStringLiteral("cli.jpg"));
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(ZARNO_EXE),
        { QStringLiteral("--export"), document, jpg, QStringLiteral("--unit-mm"),
            QStringLiteral("20") });
    ASSERT_TRUE(program.waitForFinished(60000));
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    const QImage image(jpg);
    ASSERT_FALSE(image.isNull());
    const QPoint p = imagePixel(image, point->getX(), point->getY());
    EXPECT_FALSE(inkIn(image, QRect(p, QSize(100, 100)), isRed).isEmpty());
    const QPoint m = imagePixel(image, 1, 0);
    EXPECT_FALSE(inkIn(image, QRect(m.x() - 40, m.y() + 12, 81, 60), isDark).isEmpty());
}

} // namespace
