#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "platform/rastercanvas.h"
#include "platform/vectorcanvas.h"

#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zarno {
namespace {

using Format = TVectorCanvas::Format;

// The SVG drawn back at its own pixel size on white.
QImage renderSvg(const QByteArray &svg, QSize size)
{
    QSvgRenderer renderer(svg);
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (!renderer.isValid())
        return {};
    QPainter p(&image);
    renderer.render(&p);
    return image;
}

// The PDF drawn back at 300 dpi by poppler; null when pdftoppm is missing.
QImage renderPdf(const QByteArray &pdf)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (tool.isEmpty())
        return {};
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("in.pdf")));
    if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
        return {};
    file.close();
    QProcess run;
    run.start(tool,
        { QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
            QStringLiteral("-singlefile"), file.fileName(), dir.filePath("out") });
    if (!run.waitForFinished(30000) || run.exitCode() != 0)
        return {};
    return QImage(dir.filePath(QStringLiteral("out.png")));
}

int darkIn(const QImage &image, const QRect &r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += image.valid(x, y) && qGray(image.pixel(x, y)) < 128;
    return n;
}

QByteArray drawScene(Format format, int w, int h, double wMm, double hMm)
{
    TVectorCanvas c(format, w, h, wMm, hMm);
    c.setPenWidth(3);
    c.moveTo(10, 10);
    c.lineTo(w - 10, 10);
    c.setPenWidth(1);
    c.setBrushStyle(TBrushStyle::bsClear);
    c.ellipse(100, 100, 300, 200);
    c.setBrushColor(kColorBlack);
    c.setBrushStyle(TBrushStyle::bsSolid);
    c.rectangle(400, 100, 440, 140);
    return c.finish();
}

} // namespace

// The page of the file is the image's size in millimetres, exactly: the SVG
// in hundredths of a millimetre, the PDF page box in points.
TEST(VectorCanvas, ThePageIsTheImageSizeInMillimetres)
{
    const int w = 1134, h = 851; // 96 × 72.05 mm at 300 dpi
    const QByteArray svg = drawScene(Format::Svg, w, h, 96, 72.05);
    EXPECT_TRUE(svg.contains("width=\"96mm\" height=\"72.05mm\"")) << svg.left(400).constData();
    EXPECT_TRUE(svg.contains("viewBox=\"0 0 1134 851\""));

    const QByteArray pdf = drawScene(Format::Pdf, w, h, 96, 72.05);
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const QRegularExpressionMatch box
        = QRegularExpression(QStringLiteral("/MediaBox \\[\\s*(\\S+) (\\S+) (\\S+) (\\S+)\\s*\\]"))
              .match(QString::fromLatin1(pdf));
    ASSERT_TRUE(box.hasMatch());
    const double width = box.captured(3).toDouble() - box.captured(1).toDouble();
    const double height = box.captured(4).toDouble() - box.captured(2).toDouble();
    EXPECT_NEAR(width / 72 * 25.4, 96, 1e-4);
    EXPECT_NEAR(height / 72 * 25.4, 72.05, 1e-4);
    // The rewritten box kept every offset of the file: the cross-reference
    // table still points at the objects.
    const qsizetype xref = pdf.lastIndexOf("startxref");
    ASSERT_GT(xref, 0);
    const qsizetype table = pdf.mid(xref + 9).trimmed().split('\n').first().trimmed().toLongLong();
    EXPECT_TRUE(pdf.mid(table, 4) == "xref") << table;
}

// Drawn back, both files put the shapes where the pixel rules put them on a
// bitmap: the wide line along the top, the ellipse's outline through its
// box's sides, the filled square.
TEST(VectorCanvas, FilesDrawnBackShowTheShapesWhereTheBitmapHasThem)
{
    const int w = 600, h = 300;
    const double wMm = w * 25.4 / 300, hMm = h * 25.4 / 300;
    const QImage fromSvg = renderSvg(drawScene(Format::Svg, w, h, wMm, hMm), QSize(w, h));
    ASSERT_FALSE(fromSvg.isNull());
    QList<QPair<const char *, QImage>> images { { "svg", fromSvg } };
    const QImage fromPdf = renderPdf(drawScene(Format::Pdf, w, h, wMm, hMm));
    if (!fromPdf.isNull())
        images.append({ "pdf", fromPdf });
    else
        ADD_FAILURE() << "pdftoppm is missing: scripts/setup installs it";
    for (const auto &[name, image] : images) {
        SCOPED_TRACE(name);
        ASSERT_NEAR(image.width(), w, 1);
        EXPECT_GT(darkIn(image, QRect(100, 9, 400, 3)), 800); // the line, 3 px wide
        EXPECT_EQ(darkIn(image, QRect(100, 20, 400, 40)), 0);
        EXPECT_GT(darkIn(image, QRect(99, 148, 3, 5)), 0); // the ellipse's left side
        EXPECT_GT(darkIn(image, QRect(299, 148, 3, 5)), 0); // and its right one
        EXPECT_EQ(darkIn(image, QRect(150, 130, 100, 40)), 0); // an empty inside
        EXPECT_GT(darkIn(image, QRect(405, 105, 30, 30)), 880); // the solid square
    }
}

// Typeset glyphs are outlines: the file names no font and needs none, and
// drawn back the glyphs stand where the bitmap has them.
TEST(VectorCanvas, TypesetGlyphsAreOutlinesNotText)
{
    const TQtFontCatalog &fonts = TQtFontCatalog::instance();
    ASSERT_TRUE(fonts.isInstalled(QStringLiteral("cmr10"))) << "run scripts/build-fonts";
    TGlyphFont font;
    font.family = fonts.familyFor(QStringLiteral("cmr10"));
    font.pixelSize = 60;
    const QString text = QStringLiteral("Hx\u00AD"); // 0xAD: the Omega of the font's own map
    const int w = 300, h = 100;
    auto draw = [&](Format format) {
        TVectorCanvas c(format, w, h, w * 25.4 / 300, h * 25.4 / 300);
        c.drawGlyphText(20, 70, text, font);
        return c.finish();
    };
    const QByteArray svg = draw(Format::Svg);
    EXPECT_FALSE(svg.contains("<text"));
    EXPECT_FALSE(svg.contains("font-family=\"" + font.family.toUtf8()));
    EXPECT_TRUE(svg.contains("<path"));
    const QByteArray pdf = draw(Format::Pdf);
    EXPECT_FALSE(pdf.contains("/FontFile"));
    EXPECT_FALSE(pdf.contains("/BaseFont"));

    TBitmap bitmap(w, h);
    bitmap.canvas().drawGlyphText(20, 70, text, font);
    const QImage raster = bitmap.toImage();
    const QImage back = renderSvg(svg, QSize(w, h));
    // Every column that has ink on the bitmap has ink in the file, within a
    // pixel of antialiasing.
    int columns = 0, matched = 0;
    for (int x = 0; x < w; ++x) {
        if (darkIn(raster, QRect(x, 0, 1, h)) == 0)
            continue;
        ++columns;
        matched += darkIn(back, QRect(x - 1, 0, 3, h)) > 0;
    }
    EXPECT_GT(columns, 60);
    EXPECT_GE(matched, columns - 2);
}

// A hatch is lines in the brush colour inside the shape only, the same in
// every viewer.
TEST(VectorCanvas, AHatchIsLinesClippedToTheShape)
{
    const int w = 200, h = 200;
    TVectorCanvas c(Format::Svg, w, h, w * 25.4 / 300, h * 25.4 / 300);
    c.setPenStyle(TPenStyle::psClear);
    c.setBrushColor(kColorBlack);
    c.setBrushStyle(TBrushStyle::bsCross);
    c.ellipse(50, 50, 150, 150);
    const QImage back = renderSvg(c.finish(), QSize(w, h));
    ASSERT_FALSE(back.isNull());
    const int inside = darkIn(back, QRect(70, 70, 60, 60));
    EXPECT_GT(inside, 400); // lines every 8 pixels both ways
    EXPECT_LT(inside, 60 * 60 / 2); // but not a solid fill
    // Outside the circle, also inside its box.
    EXPECT_EQ(darkIn(back, QRect(50, 50, 12, 12)), 0);
    EXPECT_EQ(darkIn(back, QRect(138, 138, 12, 12)), 0);
    EXPECT_EQ(darkIn(back, QRect(0, 0, 45, 200)), 0);
    EXPECT_EQ(darkIn(back, QRect(0, 0, 200, 45)), 0);
}

} // namespace zarno
