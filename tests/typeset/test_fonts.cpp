// The Computer Modern renderings built at set-up, the metric tables taken
// from the TFM files, font sizes, the font manager and measuring.
#include "core/exceptions.h"
#include "platform/bitmap.h"
#include "platform/qtfontcatalog.h"
#include "support/recording_canvas.h"
#include "typeset/fontinfo.h"
#include "typeset/fontmanage.h"
#include "typeset/typeset_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRawFont>
#include <QtEndian>
#include <gtest/gtest.h>
#include <map>

using namespace zarno;
using zarno::test::HidingCatalog;
using zarno::test::RecordingCanvas;

namespace {

const QString kTfmDir = QStringLiteral("/usr/share/texlive/texmf-dist/fonts/tfm/public/cm/");

QString fontFile(const QString &name)
{
    for (const QString &folder : TQtFontCatalog::fontFolders()) {
        const QFileInfo info(QDir(folder), name + QStringLiteral(".ttf"));
        if (info.isFile())
            return info.absoluteFilePath();
    }
    return QString();
}

struct TfmChar
{
    double width, height, depth;
};

// The characters of a TFM file by TeX position, read the plain way: header
// lengths, char_info words, then the width, height and depth arrays.
std::map<int, TfmChar> readTfm(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray data = f.readAll();
    const auto *p = reinterpret_cast<const uchar *>(data.constData());
    const auto half = [&](int i) { return int(qFromBigEndian<quint16>(p + 2 * i)); };
    const int lh = half(1), bc = half(2), ec = half(3), nw = half(4), nh = half(5);
    const int charBase = 24 + 4 * lh;
    const int widthBase = charBase + 4 * (ec - bc + 1);
    const int heightBase = widthBase + 4 * nw;
    const int depthBase = heightBase + 4 * nh;
    const auto fix = [&](int base, int i) {
        return qFromBigEndian<qint32>(p + base + 4 * i) / double(1 << 20);
    };
    std::map<int, TfmChar> chars;
    for (int c = bc; c <= ec; ++c) {
        const uchar *info = p + charBase + 4 * (c - bc);
        if (info[0] == 0)
            continue;
        chars[c] = { fix(widthBase, info[0]), fix(heightBase, info[1] >> 4),
            fix(depthBase, info[1] & 0x0F) };
    }
    return chars;
}

int positionOfCode(int code)
{
    if (code >= 161 && code <= 170)
        return code - 161;
    if (code >= 173 && code <= 195)
        return code - 173 + 10;
    if (code == 196)
        return 127;
    return code;
}

class Typesetting : public ::testing::Test
{
protected:
    void SetUp() override { test::useInstalledFonts(); }
    void TearDown() override { test::useInstalledFonts(); }
};

} // namespace

TEST(FontFiles, EveryCodeOfEveryFontHasAGlyphAsWideAsItsTfmWidth)
{
    const TQtFontCatalog &catalog = TQtFontCatalog::instance();
    for (const TTfmTable &table : kTfmTables) {
        const QString name = QString::fromLatin1(table.name);
        const QString file = fontFile(name);
        ASSERT_FALSE(file.isEmpty()) << name.toStdString() << ": run scripts/build-fonts";
        EXPECT_TRUE(catalog.isInstalled(name)) << name.toStdString();
        EXPECT_EQ(catalog.familyFor(name), name);
        const QRawFont raw(file, 1000, QFont::PreferNoHinting);
        ASSERT_TRUE(raw.isValid()) << name.toStdString();
        EXPECT_EQ(raw.familyName(), name);
        for (const TTfmRecord &r : table.records) {
            const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(r.code)));
            ASSERT_EQ(glyphs.size(), 1);
            EXPECT_NE(glyphs[0], 0u) << name.toStdString() << " code " << int(r.code);
            const double advance
                = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics).value(0).x();
            EXPECT_NEAR(advance, r.width * 1000.0, std::max(0.01 * r.width * 1000.0, 0.5))
                << name.toStdString() << " code " << int(r.code);
        }
        // Nothing sits on the codes the layout leaves free.
        for (int code : { 32, 160, 171, 172, 197 })
            EXPECT_EQ(raw.glyphIndexesForString(QString(QChar(code))).value(0), 0u)
                << name.toStdString() << " code " << code;
    }
}

TEST(TfmTables, AgreeWithTheTfmFilesOfTexlive)
{
    for (const TTfmTable &table : kTfmTables) {
        const QString name = QString::fromLatin1(table.name);
        const std::map<int, TfmChar> chars = readTfm(kTfmDir + name + QStringLiteral(".tfm"));
        ASSERT_EQ(chars.size(), 128u) << name.toStdString();
        for (const TTfmRecord &r : table.records) {
            const int position = positionOfCode(r.code);
            ASSERT_TRUE(chars.count(position)) << name.toStdString() << " " << position;
            const TfmChar &c = chars.at(position);
            EXPECT_FLOAT_EQ(r.width, float(c.width)) << name.toStdString() << " " << position;
            EXPECT_FLOAT_EQ(r.height, float(c.height)) << name.toStdString() << " " << position;
            EXPECT_FLOAT_EQ(r.depth, float(c.depth)) << name.toStdString() << " " << position;
        }
    }
    // A few that are well known: the cmr10 "A" is 0.75 em wide; the cmsy10
    // minus sits at position 0 and the cmmi10 alpha at 11.
    const TTfmMetrics &m = TTfmMetrics::getInstance();
    EXPECT_FLOAT_EQ(
        m.table(TFonttype::ftCmr, false).records[std::size_t(m.indexOf('A'))].width, 0.750002f);
    EXPECT_EQ(m.indexOf(0xA1), 94);
    EXPECT_EQ(m.indexOf(0xAE), 105);
    EXPECT_EQ(m.indexOf(0x20), -1);
    EXPECT_EQ(m.indexOf(0x100), -1);
}

TEST(FontSize, LevelFactorsPointSizesAndTheSmallFonts)
{
    struct Case
    {
        double base;
        int level;
        double fontScale;
        int pointSize;
        bool small;
    };
    const Case cases[] = {
        { 10, 0, 1, 10, false }, { 10, -1, 1, 7, true }, // round(7.072); 9 > 7
        { 10, -2, 1, 6, true }, { 10, -3, 1, 4, true }, { 10, -4, 1, 3, true },
        { 10, -5, 1, 2, true }, { 10, -8, 1, 2, true }, // below -5 counts as -5
        { 12, -1, 1, 8, true }, { 20, -1, 1, 14, true }, { 10, 0, 2.5, 25, false },
        { 10, -1, 2.5, 18, false }, // 9 < 18: scaled up, the normal fonts again
    };
    for (const Case &c : cases) {
        const TFixedTeXResolution resolution(300, 300, c.fontScale);
        TTeXResolutionScope scope(resolution);
        TFontSize size;
        size.setBaseSize(c.base);
        size.setLevel(c.level);
        EXPECT_EQ(size.pointSize(), c.pointSize) << c.base << " " << c.level << " " << c.fontScale;
        EXPECT_EQ(size.usesSmallFonts(), c.small) << c.base << " " << c.level;
    }
    EXPECT_DOUBLE_EQ(TFontSize::factor(-3), 0.41679253801314664);
    EXPECT_DOUBLE_EQ(TFontSize::factor(-6), TFontSize::factor(-5));

    RecordingCanvas screen;
    RecordingCanvas print;
    print.setFontResolution(300);
    TFontSize size;
    EXPECT_NEAR(size.pixelsPerEm(screen), 13.333, 0.001);
    EXPECT_NEAR(size.pixelsPerEm(print), 41.667, 0.001);
    EXPECT_EQ(size.canvasPixelSize(screen), 13);
    EXPECT_EQ(size.canvasPixelSize(print), 42);
}

TEST(FontSize, StepsBetweenLevels)
{
    TFontSize size;
    EXPECT_TRUE(size.canBeSmaller());
    try {
        size.toLarger();
        FAIL() << "level 0 grew";
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("フォントレベルをこれ以上大きくできません。"));
    }
    for (int i = 0; i < 4; ++i)
        size.toSmaller();
    EXPECT_EQ(size.level(), -4);
    EXPECT_TRUE(size.canBeSmaller());
    size.toSmaller();
    EXPECT_FALSE(size.canBeSmaller());
    size.toLarger();
    EXPECT_EQ(size.level(), -4);
}

TEST_F(Typesetting, FontNamesFollowSizeAndAvailability)
{
    TFontSize normal, script;
    script.setLevel(-1);
    EXPECT_EQ(TFontManage::fontName(TFonttype::ftCmr, normal), QStringLiteral("cmr10"));
    EXPECT_EQ(TFontManage::fontName(TFonttype::ftCmr, script), QStringLiteral("cmr6"));
    EXPECT_EQ(TFontManage::fontName(TFonttype::ftCmmi, script), QStringLiteral("cmmi6"));
    EXPECT_EQ(TFontManage::fontName(TFonttype::ftCmex, script), QStringLiteral("cmex10"));
    EXPECT_EQ(TFontManage::romanType(), TFonttype::ftCmr);
    EXPECT_EQ(TFontManage::fonttypeOfName(QStringLiteral("cmsy6")), TFonttype::ftCmsy);
    EXPECT_EQ(TFontManage::fonttypeOfName(QStringLiteral("ＭＳ Ｐ明朝")), TFonttype::ftMincyo);
    EXPECT_TRUE(TFontManage::isFontName(QStringLiteral("cmex10")));
    EXPECT_FALSE(TFontManage::isFontName(QStringLiteral("cmex6")));
    EXPECT_THROW(TFontManage::fonttypeOfName(QStringLiteral("Arial")), ESouteigai);
    for (int t = 0; t < 5; ++t)
        EXPECT_TRUE(TFontManage::isAvailable(static_cast<TFonttype>(t))) << t;
    // The Japanese font is whatever stands in for it here, found by query.
    const QString mincho = TFontManage::family(QStringLiteral("ＭＳ Ｐ明朝"));
    EXPECT_FALSE(mincho.isEmpty());
    EXPECT_EQ(mincho, TQtFontCatalog::instance().familyFor(QStringLiteral("IPAPMincho")));

    const HidingCatalog noSmallRoman(TQtFontCatalog::instance(), { QStringLiteral("cmr6") });
    initializeTypesetting(noSmallRoman);
    EXPECT_FALSE(TFontManage::isAvailable(TFonttype::ftCmr));
    EXPECT_EQ(TFontManage::romanType(), TFonttype::ftMincyo);
    EXPECT_EQ(TFontManage::fontName(TFonttype::ftCmr, normal), QStringLiteral("ＭＳ Ｐ明朝"));
}

TEST_F(Typesetting, WithoutTheJapaneseFontTheProgramCannotStart)
{
    const HidingCatalog noMincho(TQtFontCatalog::instance(), { QStringLiteral("ＭＳ Ｐ明朝") });
    try {
        initializeTypesetting(noMincho);
        FAIL() << "started without the Japanese font";
    } catch (const EMyFatalException &e) {
        EXPECT_EQ(e.detail(),
            QStringLiteral("表示に必要なフォント(ＭＳ Ｐ明朝)がインストールされていません。"));
    }
}

TEST_F(Typesetting, MeasuringTakesTfmMetricsForComputerModernAndThePlatformsForOthers)
{
    TBitmap bmp(10, 10);
    TCanvas &canvas = bmp.canvas();
    canvas.setFontResolution(300);
    TFontSize size;
    const double em = 10 * 300 / 72.0;
    const TTfmTable &cmr = TTfmMetrics::getInstance().table(TFonttype::ftCmr, false);
    const auto rec
        = [&](char c) { return cmr.records[std::size_t(TTfmMetrics::getInstance().indexOf(c))]; };

    TFontinfo info;
    info.measure(canvas, size, QString(), TFonttype::ftCmr);
    for (double v : { info.width(), info.totalHeight(), info.depth(), info.textWidth(),
             info.textHeight(), info.textDescent() })
        EXPECT_EQ(v, 0.0);
    info.measure(canvas, size, QString(), TFonttype::ftMincyo);
    EXPECT_EQ(info.width() + info.totalHeight() + info.depth() + info.textHeight(), 0.0);

    info.measure(canvas, size, QStringLiteral("Hy"), TFonttype::ftCmr);
    EXPECT_NEAR(info.width(), (rec('H').width + rec('y').width) * em, 1e-4);
    EXPECT_NEAR(info.height(), rec('H').height * em, 1e-4);
    EXPECT_NEAR(info.depth(), rec('y').depth * em, 1e-4);
    // The cell of the built fonts: 0.75 em above the baseline, 0.25 below,
    // at the whole-pixel size of the canvas font.
    EXPECT_NEAR(info.textAscent(), 0.75 * 42, 1.01);
    EXPECT_NEAR(info.textDescent(), 0.25 * 42, 1.01);

    // A negative depth (the arrow sits above the baseline) is kept.
    info.measure(canvas, size, QStringLiteral("!"), TFonttype::ftCmsy);
    EXPECT_LT(info.depth(), 0);

    // A character no table has: the whole string by the platform.
    info.measure(canvas, size, QStringLiteral("aあ"), TFonttype::ftCmmi);
    EXPECT_EQ(info.width(), info.textWidth());
    EXPECT_GT(info.width(), em);
    EXPECT_EQ(info.totalHeight(), info.textHeight());

    info.measure(canvas, size, QStringLiteral("あ"), TFonttype::ftMincyo);
    EXPECT_GT(info.width(), 0.8 * 42);
    EXPECT_EQ(info.depth(), info.textDescent());

    // "H" is the unit of spacing.
    info.measureReference(canvas, size);
    EXPECT_NEAR(info.width(), rec('H').width * em, 1e-4);
}

TEST_F(Typesetting, StretchedMeasuringScalesTallGlyphsAndWidensVeryTallOnes)
{
    RecordingCanvas canvas;
    TFontSize size;
    TFontinfo plain;
    plain.measure(canvas, size, QStringLiteral("("), TFonttype::ftCmr);
    struct Case
    {
        double factor;
        double widthScale;
    };
    for (const Case c : { Case { 0.5, 1.0 }, Case { 2, 1.0 }, Case { 3, 1.2 }, Case { 4.5, 1.5 },
             Case { 7, 2.0 } }) {
        TFontinfo info;
        info.measureStretched(
            canvas, size, QStringLiteral("("), TFonttype::ftCmr, c.factor * plain.totalHeight());
        const double v = std::max(1.0, c.factor);
        EXPECT_NEAR(info.totalHeight(), v * plain.totalHeight(), 1e-9) << c.factor;
        EXPECT_NEAR(info.depth(), v * plain.depth(), 1e-9) << c.factor;
        EXPECT_NEAR(info.textHeight(), v * plain.textHeight(), 1e-9) << c.factor;
        EXPECT_NEAR(info.width(), c.widthScale * plain.width(), 1e-9) << c.factor;
        EXPECT_DOUBLE_EQ(info.horizontalScale(), c.widthScale);
    }
}

TEST_F(Typesetting, DrawingPutsTheBaselineAtTheRomanAscentBelowTheCellTop)
{
    RecordingCanvas canvas;
    canvas.setFont(QStringLiteral("x"), 20, 0x123456);
    TFontSize size;
    TFontinfo info;
    info.measure(canvas, size, QStringLiteral("\u00AD"), TFonttype::ftCmr); // Omega at 0xAD
    canvas.log.clear();
    info.drawAt(canvas, 10.4, 20.6);
    // Recording canvas: 13-pixel cell, ascent 9; the glyph keeps the canvas colour.
    ASSERT_EQ(canvas.log.size(), 1);
    EXPECT_EQ(
        canvas.log[0], QStringLiteral("glyphs cmr10 ad at 10.00,30.00 em 13.33 color 123456"));

    info.measure(canvas, size, QStringLiteral("?x"), TFonttype::ftMincyo);
    info.setHighlight(true);
    canvas.log.clear();
    info.drawAt(canvas, 0, 0);
    const QString mincho = TFontManage::family(QStringLiteral("ＭＳ Ｐ明朝"));
    EXPECT_EQ(canvas.log.value(0),
        QStringLiteral("glyphs %1 3f78 at 0.00,9.00 em 13.00 bold color 0000ff shaped")
            .arg(mincho));
    EXPECT_FALSE(info.highlight()); // only for one drawing
}

TEST(CanvasInfoPush, RestoresWhatTypesettingChangesAndRefusesUnbalancedUse)
{
    RecordingCanvas canvas;
    canvas.setFont(QStringLiteral("a"), 11, 0x0000FF);
    canvas.setPenColor(0x00FF00);
    canvas.setPenWidth(3);
    canvas.setPenStyle(TPenStyle::psDot);
    canvas.setBrushColor(0xFF0000);
    canvas.setBrushStyle(TBrushStyle::bsCross);
    {
        TCanvasInfoPushGuard guard(canvas);
        canvas.setFont(QStringLiteral("b"), 30, 0);
        canvas.setPenColor(0);
        canvas.setPenWidth(1);
        canvas.setPenStyle(TPenStyle::psSolid);
        canvas.setBrushColor(0);
        canvas.setBrushStyle(TBrushStyle::bsClear);
    }
    EXPECT_EQ(canvas.fontFamily(), QStringLiteral("a"));
    EXPECT_EQ(canvas.fontPixelSize(), 11);
    EXPECT_EQ(canvas.fontColor(), 0x0000FFu);
    EXPECT_EQ(canvas.penColor(), 0x00FF00u);
    EXPECT_EQ(canvas.penWidth(), 3);
    EXPECT_EQ(canvas.penStyle(), TPenStyle::psDot);
    EXPECT_EQ(canvas.brushColor(), 0xFF0000u);
    EXPECT_EQ(canvas.brushStyle(), TBrushStyle::bsCross);

    TCanvasInfoPush push;
    try {
        push.pop(canvas);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("情報がpushされていません。"));
    }
    push.push(canvas);
    try {
        push.push(canvas);
        FAIL();
    } catch (const ESouteigai &e) {
        EXPECT_EQ(e.detail(), QStringLiteral("情報は既にpushされています。"));
    }
}

// Every glyph of every font at 10 pt on a 300-dpi canvas, one block of 16 × 8
// cells per font, each cell as large as the font's largest glyph. With
// ZARNO_FONT_GRID_PICTURE=file.png the picture is written out for a look.
TEST_F(Typesetting, EveryGlyphOfEveryFontDrawsInsideItsCellAt300Dpi)
{
    const double em = 10 * 300 / 72.0;
    constexpr int kColumns = 16, kRows = 8, kTitle = 50, kGap = 30;
    struct Block
    {
        const TTfmTable *table;
        int cellWidth, cellHeight, ascent, top;
    };
    std::vector<Block> blocks;
    int y = 0, width = 0;
    for (const TTfmTable &table : kTfmTables) {
        double w = 0, h = 0, d = 0;
        for (const TTfmRecord &r : table.records) {
            w = std::max(w, double(r.width));
            h = std::max(h, double(r.height));
            d = std::max(d, double(r.depth));
        }
        Block b { &table, int(w * em) + 12, int((h + d) * em) + 12, int(h * em) + 6, y + kTitle };
        blocks.push_back(b);
        y = b.top + kRows * b.cellHeight + kGap;
        width = std::max(width, kColumns * b.cellWidth);
    }
    TBitmap bmp(width, y);
    TCanvas &canvas = bmp.canvas();
    canvas.setFontResolution(300);
    for (const Block &b : blocks) {
        canvas.setFont(QStringLiteral("DejaVu Sans"), 30, kColorBlack);
        canvas.textOut(0, b.top - kTitle + 8, QString::fromLatin1(b.table->name));
        canvas.setPenColor(0xC0C0C0);
        for (int i = 0; i < kTfmCharCount; ++i) {
            const int x0 = (i % kColumns) * b.cellWidth, y0 = b.top + (i / kColumns) * b.cellHeight;
            canvas.rectangle(x0, y0, x0 + b.cellWidth - 1, y0 + b.cellHeight - 1);
            TGlyphFont font;
            font.family = TFontManage::family(QString::fromLatin1(b.table->name));
            font.pixelSize = em;
            canvas.drawGlyphText(
                x0 + 6, y0 + b.ascent, QString(QChar(b.table->records[std::size_t(i)].code)), font);
        }
    }
    for (const Block &b : blocks)
        for (int i = 0; i < kTfmCharCount; ++i) {
            const int x0 = (i % kColumns) * b.cellWidth, y0 = b.top + (i / kColumns) * b.cellHeight;
            int ink = 0;
            for (int py = y0 + 1; py < y0 + b.cellHeight - 1; ++py)
                for (int px = x0 + 1; px < x0 + b.cellWidth - 1; ++px)
                    ink += colorRed(bmp.pixel(px, py)) < 128 ? 1 : 0;
            EXPECT_GT(ink, 3) << b.table->name << " code "
                              << int(b.table->records[std::size_t(i)].code);
        }
    const QByteArray out = qgetenv("ZARNO_FONT_GRID_PICTURE");
    if (!out.isEmpty()) {
        EXPECT_TRUE(bmp.saveToFile(QString::fromLocal8Bit(out)));
    }
}
