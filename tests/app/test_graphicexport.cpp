#include "core/exceptions.h"
#include "interaction_fixture.h"
#include "model/shapeline.h"
#include "persist/zarnofile.h"
#include "render/dpi.h"
#include "render/graphicfileadapter.h"
#include "render/graphicfilefacade.h"
#include "render/printarea.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>

namespace zarno::test {
namespace {

// The save dialog's answer: a file name and what the user changes in the
// panels. Records what it was shown.
class ScriptedGraphicfileDialog : public TSaveGraphicfileDialog
{
public:
    bool execute(QString &fileName, TGraphicfileProperty &property, int unitMax) override
    {
        ++calls;
        shownName = fileName;
        shownUnitMax = unitMax;
        if (answer.isEmpty())
            return false;
        fileName = answer;
        if (edit)
            edit(property);
        return true;
    }

    QString answer;
    std::function<void(TGraphicfileProperty &)> edit;
    int calls = 0;
    QString shownName;
    int shownUnitMax = -1;
};

struct JfifHeader
{
    int unit = -1, xDensity = -1, yDensity = -1;
    QList<int> sampling; // h << 4 | v of each component
};

JfifHeader readHeader(const QByteArray &jpeg)
{
    JfifHeader h;
    const qsizetype app0 = jpeg.indexOf(QByteArray("\xFF\xE0", 2));
    if (app0 >= 0 && jpeg.mid(app0 + 4, 5) == QByteArray("JFIF\0", 5)) {
        h.unit = quint8(jpeg[app0 + 11]);
        h.xDensity = quint8(jpeg[app0 + 12]) << 8 | quint8(jpeg[app0 + 13]);
        h.yDensity = quint8(jpeg[app0 + 14]) << 8 | quint8(jpeg[app0 + 15]);
    }
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof >= 0) {
        const int n = quint8(jpeg[sof + 9]);
        for (int i = 0; i < n; ++i)
            h.sampling << quint8(jpeg[sof + 10 + 3 * i + 1]);
    }
    return h;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool isWhite(QRgb c)
{
    return qRed(c) > 230 && qGreen(c) > 230 && qBlue(c) > 230;
}
bool isReddish(QRgb c)
{
    return qRed(c) > 160 && qGreen(c) < 100 && qBlue(c) < 100;
}

class GraphicExportTest : public InteractionTest
{
protected:
    GraphicExportTest()
        : InteractionTest(true)
    {
        auto d = std::make_unique<ScriptedGraphicfileDialog>();
        dialog = d.get();
        fPrevious = TSaveGraphicfileDialog::install(std::move(d));
    }
    ~GraphicExportTest() override { TSaveGraphicfileDialog::install(std::move(fPrevious)); }

    TShapePrintArea &area() { return *static_cast<TShapePrintArea *>(field().printArea()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    void showArea() { controller->executeAction(TCommandId::cmdPrintAreaToggle, true); }
    // Exports to name with the property as the edit leaves it.
    bool exportAs(const QString &name, std::function<void(TGraphicfileProperty &)> edit = {})
    {
        dialog->answer = name;
        dialog->edit = std::move(edit);
        return controller->saveGraphicfile();
    }
    // The screen's own state, which every export must leave as it found it.
    void expectScreenStateBack()
    {
        EXPECT_EQ(&controller->surface(), &screen);
        EXPECT_EQ(TDpi::current().x, TDpi::kScreenDpiX);
        EXPECT_EQ(TDpi::current().y, TDpi::kScreenDpiY);
        EXPECT_EQ(TDpi::fontScale(), 1.0);
        EXPECT_EQ(field().getMmPerModel1().x, 20.0);
        EXPECT_EQ(field().getCenterXy().x, 0.0);
        EXPECT_EQ(controller->graphicfile().surface(), nullptr);
        EXPECT_TRUE(controller->acceptsInput());
    }

    QTemporaryDir dir;
    ScriptedGraphicfileDialog *dialog = nullptr;

private:
    std::unique_ptr<TSaveGraphicfileDialog> fPrevious;
};

TEST_F(GraphicExportTest, TheAreaIsExportedAtItsExactSizeAt300Dpi)
{
    struct Case
    {
        TGraphicFileScaletype type;
        int mm;
        double widthMm;
        int widthPx;
        double heightMm;
    };
    // The default area is 8 × 6 units; the height follows its on-screen
    // aspect ratio, a fraction of a millimetre off 3:4.
    const Case cases[] = {
        { TGraphicFileScaletype::gstHAxe1, 12, 96, 1134, 72 },
        { TGraphicFileScaletype::gstInBox, 100, 100, 1181, 75 },
    };
    showArea();
    for (const Case &c : cases) {
        const QString file = path(QStringLiteral("area.jpg"));
        ASSERT_TRUE(exportAs(file, [&](TGraphicfileProperty &p) {
            p.scaleType = c.type;
            p.hAxe1_mm = c.type == TGraphicFileScaletype::gstHAxe1 ? c.mm : 10;
            p.boxSizeMm = c.type == TGraphicFileScaletype::gstInBox ? c.mm : 48;
        }));
        const TGraphicfileAdapter &jpeg = *controller->graphicfile().surfaceFor(file);
        EXPECT_DOUBLE_EQ(jpeg.sizeMm().x, c.widthMm);
        EXPECT_NEAR(jpeg.sizeMm().y, c.heightMm, 0.5);
        const QByteArray bytes = readAll(file);
        const QImage image = QImage::fromData(bytes);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.width(), c.widthPx);
        EXPECT_NEAR(image.height(), c.heightMm * 300 / 25.4, 6);
        EXPECT_EQ(image.height(), jpeg.pixelSize().height());
        const JfifHeader h = readHeader(bytes);
        EXPECT_EQ(h.unit, 1);
        EXPECT_EQ(h.xDensity, 300);
        EXPECT_EQ(h.yDensity, 300);
        // Full-resolution colour: every component sampled 1 × 1.
        EXPECT_EQ(h.sampling, (QList<int> { 0x11, 0x11, 0x11 }));
        // The document remembers the name and keeps the dialog's values.
        EXPECT_EQ(controller->document().imagePath(), file);
        EXPECT_EQ(area().property().scaleType, c.type);
        expectScreenStateBack();
    }
    // The dialog was offered the x-unit range of the 8-unit area.
    EXPECT_EQ(dialog->shownUnitMax, 53);
}

TEST_F(GraphicExportTest, TheImageShowsNeitherTheAreaNorEditOnlyShapesNorTheSelection)
{
    showArea();
    clickPoint(-2, -1);
    clickPoint(2, 1, true);
    TShape *segment = construct(TFiguretype::FIG_senbun);
    ASSERT_NE(segment, nullptr);
    // The segment is selected and drawn in the contrast colour on screen.
    ASSERT_TRUE(segment->getFSelected());
    const QString file = path(QStringLiteral("clean.jpg"));
    ASSERT_TRUE(exportAs(file, [](TGraphicfileProperty &p) { p.hAxe1_mm = 20; }));
    const QImage image(file);
    ASSERT_FALSE(image.isNull());
    int dark = 0, red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y);
            dark += qGray(c) < 80;
            red += isReddish(c);
        }
    EXPECT_GT(dark, 500); // the segment, unselected black
    EXPECT_EQ(red, 0);
    // The dotted edges lie on the image's border and the edit-only corner
    // points at its corners: all of it white.
    int borderInk = 0;
    for (int x = 0; x < image.width(); ++x)
        borderInk += !isWhite(image.pixel(x, 0)) + !isWhite(image.pixel(x, image.height() - 1));
    for (int y = 0; y < image.height(); ++y)
        borderInk += !isWhite(image.pixel(0, y)) + !isWhite(image.pixel(image.width() - 1, y));
    EXPECT_EQ(borderInk, 0);
    // Selection, area and edit mode are back on screen.
    EXPECT_TRUE(segment->getFSelected());
    EXPECT_TRUE(area().isShown());
    EXPECT_EQ(screen.FPreview, 0);
}

// The vertical extent in pixels of the arrow head at the image's right.
int arrowHeadHeight(const QImage &image)
{
    int tip = -1;
    for (int x = image.width() - 1; x >= 0 && tip < 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                tip = x;
                break;
            }
    int top = image.height(), bottom = -1;
    for (int x = std::max(0, tip - 80); x <= tip; ++x)
        for (int y = 0; y < image.height(); ++y)
            if (qGray(image.pixel(x, y)) < 128) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom - top + 1;
}

TEST_F(GraphicExportTest, ArrowHeadsKeepTheirScreenSizeOrGrowWithTheImage)
{
    showArea();
    TShapeDot *a = clickPoint(-3, 0);
    TShapeDot *b = clickPoint(3, 0, true);
    construct(TFiguretype::FIG_arrow);
    // Only the arrow: its end points would blot the head.
    a->setViewOnOff(TViewOnOff::voOff);
    b->setViewOnOff(TViewOnOff::voOff);
    auto exportWith = [&](TGraphicFileFontScaletype type) {
        const QString file = path(QStringLiteral("arrow.jpg"));
        EXPECT_TRUE(exportAs(file, [type](TGraphicfileProperty &p) {
            p.scaleType = TGraphicFileScaletype::gstInBox;
            p.boxSizeMm = 200;
            p.fontScaleType = type;
        }));
        return arrowHeadHeight(QImage(file));
    };
    // 3.8 mm at 300 dpi is 45 pixels; the wings stand 17° off the shaft,
    // so the head is 2 × 45 × sin 17° ≈ 26 pixels high.
    const int same = exportWith(TGraphicFileFontScaletype::fstSameAsDisplay);
    EXPECT_NEAR(same, 2 * 45 * std::sin(17 * M_PI / 180), 3);
    const int resized = exportWith(TGraphicFileFontScaletype::fstResize);
    // 200 mm against the area's width on screen (8 units at 20 mm per unit,
    // 160 mm): the head grows by that ratio.
    EXPECT_NEAR(double(resized) / same, 200.0 / 160.0, 0.1);
}

TEST_F(GraphicExportTest, TheExtensionChoosesTheFormatWhateverItsCase)
{
    EXPECT_EQ(TGraphicfileDialogRules::filterIndexFor(QStringLiteral("x.EMF")), 1);
    EXPECT_EQ(TGraphicfileDialogRules::filterIndexFor(QStringLiteral("x.jpeg")), 0);
    const QString jpeg = path(QStringLiteral("x.jpeg"));
    ASSERT_TRUE(exportAs(jpeg));
    EXPECT_TRUE(readAll(jpeg).startsWith(QByteArray("\xFF\xD8\xFF", 3)));
    const QString emf = path(QStringLiteral("x.EMF"));
    ASSERT_TRUE(exportAs(emf));
    const QByteArray bytes = readAll(emf);
    // EMR_HEADER first, with the " EMF" signature at offset 40.
    ASSERT_GE(bytes.size(), 88);
    EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData()), 1u);
    EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));
}

// The frame rectangle of an EMF header, in hundredths of a millimetre.
QRect emfFrame(const QByteArray &bytes)
{
    auto at = [&](int offset) { return qFromLittleEndian<qint32>(bytes.constData() + offset); };
    return bytes.size() < 88 ? QRect() : QRect(QPoint(at(24), at(28)), QPoint(at(32), at(36)));
}

TEST_F(GraphicExportTest, TheMetafileFrameIsTheImageSizeAndEmf2svgReadsIt)
{
    showArea();
    clickPoint(-2, -1);
    clickPoint(2, 1, true);
    construct(TFiguretype::FIG_senbun);
    const QString file = path(QStringLiteral("figure.emf"));
    ASSERT_TRUE(exportAs(file, [](TGraphicfileProperty &p) {
        p.scaleType = TGraphicFileScaletype::gstHAxe1;
        p.hAxe1_mm = 12;
    }));
    const TGraphicfileAdapter &emf = *controller->graphicfile().surfaceFor(file);
    const QRect frame = emfFrame(readAll(file));
    EXPECT_EQ(frame.left(), 0);
    EXPECT_EQ(frame.top(), 0);
    EXPECT_EQ(frame.right(), int(std::nearbyint(emf.sizeMm().x * 100)));
    EXPECT_EQ(frame.right(), 9600);
    EXPECT_EQ(frame.bottom(), int(std::nearbyint(emf.sizeMm().y * 100)));
    expectScreenStateBack();

    const QString converter = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (converter.isEmpty())
        GTEST_SKIP() << "emf2svg-conv is not installed";
    const QString svg = path(QStringLiteral("figure.svg"));
    QProcess run;
    run.start(converter, { QStringLiteral("-i"), file, QStringLiteral("-o"), svg });
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().constData();
    const QByteArray text = readAll(svg);
    EXPECT_TRUE(text.contains("<svg"));
    // The segment came through as a drawn line.
    EXPECT_TRUE(text.contains("path") || text.contains("line")) << text.left(2000).constData();
}

TEST_F(GraphicExportTest, AnAreaBeyondTheViewExportsTheViewAndSaysSo)
{
    showArea();
    // Twice the scale: the 8 × 6 area no longer fits the 640 × 480 view.
    field().multiplyScale(2, 2);
    controller->refreshFull();
    const TModelViewRect v = screen.getModelViewRect();
    const QString file = path(QStringLiteral("view.jpg"));
    ASSERT_TRUE(exportAs(file, [](TGraphicfileProperty &p) {
        p.scaleType = TGraphicFileScaletype::gstHAxe1;
        p.hAxe1_mm = 12;
    }));
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_EQ(dialogs->shown[0].text,
        QStringLiteral("画像ファイル出力領域がフィールドの可視領域をはみ出しています。\r\n"
                       "フィールドの可視領域を画像出力領域とします。"));
    EXPECT_EQ(dialogs->shown[0].type, TMsgDlgType::mtInformation);
    const QImage image(file);
    EXPECT_EQ(image.width(), int(std::nearbyint((v.right - v.left) * 12 * 300 / 25.4)));
    EXPECT_EQ(
        dialog->shownUnitMax, int(std::nearbyint(423.33333333333333334 / (v.right - v.left))));
    // A hidden area exports the view without a word.
    controller->executeAction(TCommandId::cmdPrintAreaToggle, false);
    ASSERT_TRUE(exportAs(file));
    EXPECT_EQ(dialogs->shown.size(), 1);
}

TEST_F(GraphicExportTest, AFailedWriteIsReportedAndTheScreenComesBack)
{
    showArea();
    clickPoint(0, 0);
    const QString file = path(QStringLiteral("missing/folder/x.jpg"));
    EXPECT_FALSE(exportAs(file));
    ASSERT_EQ(dialogs->shown.size(), 1);
    EXPECT_TRUE(
        dialogs->shown[0].text.startsWith(QStringLiteral("画像ファイルを保存できませんでした。")));
    EXPECT_TRUE(dialogs->shown[0].text.contains(file));
    EXPECT_EQ(dialogs->shown[0].type, TMsgDlgType::mtError);
    EXPECT_FALSE(QFile::exists(file));
    expectScreenStateBack();
    EXPECT_TRUE(area().isShown());
    EXPECT_TRUE(selection().first()->getFSelected());
    // Nothing is left pushed: the next export works.
    EXPECT_TRUE(exportAs(path(QStringLiteral("after.jpg"))));
    expectScreenStateBack();
}

TEST_F(GraphicExportTest, CancelWritesNothingAndNamesNothing)
{
    dialog->answer.clear();
    EXPECT_FALSE(controller->saveGraphicfile());
    EXPECT_EQ(dialog->calls, 1);
    EXPECT_EQ(dialog->shownName, QStringLiteral("zarnofile1.jpg"));
    EXPECT_FALSE(controller->document().isNamed());
    // Without a dialog at all the export counts as cancelled.
    auto installed = TSaveGraphicfileDialog::install(nullptr);
    EXPECT_FALSE(controller->saveGraphicfile());
    TSaveGraphicfileDialog::install(std::move(installed));
    expectScreenStateBack();
}

} // namespace
} // namespace zarno::test
