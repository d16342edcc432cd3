// The label machinery: where a label lies against its anchor on the screen
// and at 300 dpi, when its cached bitmap is rendered again, its saved lines
// and the states the dialogs push.
#include "core/exceptions.h"
#include "labels/writing.h"
#include "labels_support.h"
#include "support/expect_souteigai.h"
#include "support/memory_document.h"
#include "typeset/drawformulafacade.h"
#include "typeset/tex2list.h"

#include <QRegularExpression>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

using namespace zarno;

namespace {

class WritingTest : public ::testing::Test
{
protected:
    test::LabelsReady ready;
    TField field; // 20 mm per unit, centre (0, 0)
    const TModelPoint anchor { 1.25, 0.75 };

    // Where the glyph runs of a printed label start: the first run's x and
    // the smallest baseline.
    static QPointF firstGlyphRun(const test::RecordingCanvas &canvas)
    {
        static const QRegularExpression run(QStringLiteral("^glyphs .* at ([-0-9.]+),([-0-9.]+) "));
        for (const QString &line : canvas.log) {
            const QRegularExpressionMatch m = run.match(line);
            if (m.hasMatch())
                return { m.captured(1).toDouble(), m.captured(2).toDouble() };
        }
        ADD_FAILURE() << "no glyphs drawn";
        return {};
    }
    // The box of a typeset text as the label lays it out on a canvas.
    static TWhdXy boxOf(TCanvas &canvas, const QString &text, int pt)
    {
        TTeX2ListFacade parser;
        parser.analyze(text);
        TDrawFormulaFacade layout;
        return layout.measure(canvas, *parser.tokenList(), pt);
    }
};

TEST_F(WritingTest, DefaultLabelLiesHalfAMillimetreRightOfAndBelowItsAnchorOnTheScreen)
{
    test::RecordingScreen screen(field);
    auto w = TWriting::createTextWriting();
    EXPECT_EQ(w->getOffsetMmXy(), (TModelPoint { 0.5, -0.5 }));
    EXPECT_EQ(w->getDirection(), T_Direction::dirSE);
    EXPECT_EQ(w->pt(), 11);
    w->draw(screen, kColorBlack, anchor);

    // 0.5 mm at 90.06 × 90.07 dpi is 1.77 pixels: 2 each way.
    const QPoint p = screen.modelToPixel(anchor);
    const QPoint topLeft = screen.modelToPixel({ w->bounds().left, w->bounds().top });
    EXPECT_EQ(topLeft - p, QPoint(2, 2));
    const QPoint bottomRight = screen.modelToPixel({ w->bounds().right, w->bounds().bottom });
    EXPECT_EQ(bottomRight - topLeft, QPoint(w->bitmap()->width(), w->bitmap()->height()));
    // The text itself is inside, past the bitmap's margins.
    const QRect ink = test::inkBounds(screen.getBitmap());
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), topLeft.x() + TWriting::kMarginLeft - 1);
    EXPECT_GE(ink.top(), topLeft.y());
    EXPECT_LT(ink.right(), topLeft.x() + w->bitmap()->width());
    EXPECT_LT(ink.bottom(), topLeft.y() + w->bitmap()->height());
}

TEST_F(WritingTest, DefaultLabelLiesHalfAMillimetreRightOfAndBelowItsAnchorAt300Dpi)
{
    test::RecordingPrinter printer(field);
    auto w = TWriting::createTextWriting();
    w->draw(printer, kColorBlack, anchor);
    // 0.5 mm at 300 dpi is 5.9 pixels: 6. The text's own box lies there.
    const QPoint p = printer.modelToPixel(anchor);
    const TWhdXy box = boxOf(printer.canvas, QStringLiteral("x"), 11);
    const QPointF run = firstGlyphRun(printer.canvas);
    EXPECT_DOUBLE_EQ(run.x(), p.x() + 6);
    // Glyphs sit on a whole-pixel baseline.
    EXPECT_NEAR(run.y() - box.height(), p.y() + 6, 0.5);
    // A printed copy does not move what the user picks on the screen.
    EXPECT_FALSE(w->hasBounds());
}

// Where the top-left corner of a w × h box lies against its anchor, for each
// direction (halves rounded toward zero).
struct Alignment
{
    T_Direction direction;
    int ax; // in halves of the width: 0, 1 (w/2) or 2 (w)
    int ay;
};

class AlignmentTest : public WritingTest, public ::testing::WithParamInterface<Alignment>
{
};

TEST_P(AlignmentTest, TheDirectionPlacesTheBitmapAroundTheAnchor)
{
    const Alignment a = GetParam();
    test::RecordingScreen screen(field);
    auto w = TWriting::createTextWriting();
    w->setText(QStringLiteral("ABC"));
    w->setOffsetMmXy({ 0, 0 });
    w->setDirection(a.direction);
    w->draw(screen, kColorBlack, anchor);
    const int bw = w->bitmap()->width(), bh = w->bitmap()->height();
    const QPoint expected(-(a.ax == 1         ? bw / 2
                                  : a.ax == 2 ? bw
                                              : 0),
        -(a.ay == 1         ? bh / 2
                : a.ay == 2 ? bh
                            : 0));
    const QPoint topLeft = screen.modelToPixel({ w->bounds().left, w->bounds().top });
    EXPECT_EQ(topLeft - screen.modelToPixel(anchor), expected);
}

INSTANTIATE_TEST_SUITE_P(NineDirections, AlignmentTest,
    ::testing::Values(Alignment { T_Direction::dirN, 1, 2 }, Alignment { T_Direction::dirNE, 0, 2 },
        Alignment { T_Direction::dirE, 0, 1 }, Alignment { T_Direction::dirSE, 0, 0 },
        Alignment { T_Direction::dirS, 1, 0 }, Alignment { T_Direction::dirSW, 2, 0 },
        Alignment { T_Direction::dirW, 2, 1 }, Alignment { T_Direction::dirNW, 2, 2 },
        Alignment { T_Direction::dirCt, 1, 1 }));

TEST_F(WritingTest, CentredLabelSitsOnItsAnchorOnScreenAndInPrint)
{
    auto w = TWriting::createTextWriting();
    w->setText(QStringLiteral("\\frac{1}{2}"));
    w->setOffsetMmXy({ 0, 0 });
    w->setDirection(T_Direction::dirCt);
    {
        test::RecordingScreen screen(field);
        w->draw(screen, kColorBlack, anchor);
        const TModelViewRect b = w->bounds();
        const QPoint centre
            = screen.modelToPixel({ (b.left + b.right) / 2, (b.top + b.bottom) / 2 });
        const QPoint d = centre - screen.modelToPixel(anchor);
        EXPECT_LE(std::abs(d.x()), 1);
        EXPECT_LE(std::abs(d.y()), 1);
    }
    test::RecordingPrinter printer(field);
    w->draw(printer, kColorBlack, anchor);
    const TWhdXy box = boxOf(printer.canvas, w->text(), w->pt());
    const QPoint p = printer.modelToPixel(anchor);
    const double left = p.x() - int(std::ceil(box.width())) / 2;
    const double top = p.y() - int(std::ceil(box.totalHeight())) / 2;
    // The fraction's glyph runs start inside the box centred on the anchor.
    const QPointF run = firstGlyphRun(printer.canvas);
    EXPECT_GE(run.x(), left);
    EXPECT_LE(run.x(), left + box.width());
    EXPECT_GE(run.y(), top);
    EXPECT_LE(run.y(), top + box.totalHeight());
}

// Each step, then how many renders the cached bitmap has had in all.
TEST_F(WritingTest, OnlyAChangedColourTextOrSizeRendersTheBitmapAgain)
{
    test::RecordingScreen screen(field);
    auto w = TWriting::createTextWriting();
    struct Step
    {
        const char *what;
        std::function<void()> act;
        int renders;
    };
    const TColor red = kColorRed;
    const Step steps[] = {
        { "first draw", [&] { w->draw(screen, kColorBlack, anchor); }, 1 },
        { "same colour again", [&] { w->draw(screen, kColorBlack, anchor); }, 1 },
        { "another anchor",
            [&] {
                w->draw(screen, kColorBlack, { -2, 1 });
            },
            1 },
        { "another colour", [&] { w->draw(screen, red, anchor); }, 2 },
        { "that colour again", [&] { w->draw(screen, red, anchor); }, 2 },
        { "the same text",
            [&] {
                w->setText(QStringLiteral("x"));
                w->draw(screen, red, anchor);
            },
            2 },
        { "another text",
            [&] {
                w->setText(QStringLiteral("y"));
                w->draw(screen, red, anchor);
            },
            3 },
        { "another offset",
            [&] {
                w->setOffsetMmXy({ 3, 3 });
                w->draw(screen, red, anchor);
            },
            3 },
        { "another size",
            [&] {
                w->setPt(20);
                w->draw(screen, red, anchor);
            },
            4 },
        { "on an image surface",
            [&] {
                test::RecordingPrinter printer(field);
                w->draw(printer, kColorBlack, anchor);
                TDpi::useScreenResolution();
            },
            4 },
        { "switched off",
            [&] {
                w->setView(false);
                w->setText(QStringLiteral("z"));
                w->draw(screen, red, anchor);
            },
            4 },
    };
    for (const Step &s : steps) {
        s.act();
        EXPECT_EQ(w->renderCount(), s.renders) << s.what;
    }
}

TEST_F(WritingTest, ALabelSavesItsThreeLinesAndReadsThemBack)
{
    auto w = TWriting::createTextWriting();
    w->setText(QStringLiteral("\\frac{a}{b} <&>"));
    w->setPt(24);
    w->setOffsetMmXy({ 1.5, -2.25 });
    w->setDirection(T_Direction::dirNW);
    test::MemoryWriter out;
    w->save(out);
    EXPECT_EQ(out.lines(),
        QStringList({ QStringLiteral("<str>\\frac{a}{b} <&></str>"),
            QStringLiteral("<pt>24</pt><view>true</view>"),
            QStringLiteral("<offsetMmXy>1.5,-2.25</offsetMmXy><direction>dirNW</direction>") }));
    auto back = TWriting::createTextWriting();
    back->load(out.root());
    EXPECT_EQ(back->text(), w->text());
    EXPECT_EQ(back->pt(), 24);
    EXPECT_EQ(back->getOffsetMmXy(), (TModelPoint { 1.5, -2.25 }));
    EXPECT_EQ(back->getDirection(), T_Direction::dirNW);

    // A number label of the axes: its mode lines first, a plain one has no place.
    auto grid = TWriting::createHiddenNumberWriting();
    grid->setRationalNumberPi(QStringLiteral("1"), QStringLiteral("2"), 12);
    test::MemoryWriter gridOut;
    grid->save(gridOut);
    EXPECT_EQ(gridOut.lines(),
        QStringList({ QStringLiteral("<numberMode>nmRationalPi</numberMode>"),
            QStringLiteral("<numerator>1</numerator><denominator>2</denominator>"),
            QStringLiteral("<pt>12</pt><view>false</view>") }));
    test::expectSouteigai(
        [&] {
            grid->setOffsetMmXy({ 1, 1 });
        },
        QStringLiteral("setOffsetMmXy"), ESouteigai::notImplementedDetail());
}

TEST_F(WritingTest, DamagedLabelLinesAreRefused)
{
    struct Case
    {
        const char *what;
        const char *pt;
        const char *offset;
        const char *direction;
    };
    for (const Case c : { Case { "no size", "0", "0.5,-0.5", "dirSE" },
             Case { "a huge size", "5000", "0.5,-0.5", "dirSE" },
             Case { "an offset that is no number", "11", "nan,1", "dirSE" },
             Case { "an unknown direction", "11", "0.5,-0.5", "dirUp" } }) {
        test::MemoryNode node(QStringLiteral("shape"));
        node.addChild(QStringLiteral("str"), QStringLiteral("x"), true);
        node.addChild(QStringLiteral("pt"), QString::fromLatin1(c.pt), true);
        node.addChild(QStringLiteral("view"), QStringLiteral("true"), true);
        node.addChild(QStringLiteral("offsetMmXy"), QString::fromLatin1(c.offset), true);
        node.addChild(QStringLiteral("direction"), QString::fromLatin1(c.direction), true);
        auto w = TWriting::createTextWriting();
        EXPECT_ANY_THROW(w->load(node)) << c.what;
    }
}

TEST_F(WritingTest, ThreeStatesCanBePushedAndPopped)
{
    auto w = TWriting::createTextWriting();
    w->setText(QStringLiteral("a"));
    w->pushCurrent();
    EXPECT_FALSE(w->differsFromPushed());
    w->setText(QStringLiteral("b"));
    w->setDirection(T_Direction::dirN);
    EXPECT_TRUE(w->differsFromPushed());
    w->pushCurrent();
    w->pushCurrent();
    test::expectSouteigai([&] { w->pushCurrent(); }, QStringLiteral("pushCurrent"),
        QStringLiteral("情報は既にpushされています。"));
    w->clearPushed();
    w->clearPushed();
    w->pop();
    EXPECT_EQ(w->text(), QStringLiteral("a"));
    EXPECT_EQ(w->getDirection(), T_Direction::dirSE);
    test::expectSouteigai(
        [&] { w->pop(); }, QStringLiteral("pop"), QStringLiteral("情報がpushされていません。"));
}

} // namespace
