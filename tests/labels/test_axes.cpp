// The coordinate axes: the group every new document has, showing and hiding
// it, the scale numbers and ticks, the grid, and dragging the origin.
#include "labels_fixture.h"
#include "model/shapeline.h"

#include <QSet>
#include <algorithm>
#include <cmath>
#include <map>

using namespace zarno;
using namespace zarno::test;

namespace {

class AxesTest : public LabelInteractionTest
{
};

TEST_F(AxesTest, ANewDocumentHoldsTheAxesGroupHiddenBeforeAnyUserShape)
{
    struct Expected
    {
        TFiguretype type;
        const char *name;
        bool listed;
        TViewType view;
    };
    const Expected group[] = {
        { TFiguretype::FIG_genten, "原点", true, TViewType::vtEditVisible },
        { TFiguretype::FIG_dotOnField, "座標(1,0)", false, TViewType::vtInvisible },
        { TFiguretype::FIG_dotOnField, "座標(0,1)", false, TViewType::vtInvisible },
        { TFiguretype::FIG_arrowLine, "x軸", true, TViewType::vtVisible },
        { TFiguretype::FIG_arrowLine, "y軸", true, TViewType::vtVisible },
        { TFiguretype::FIG_writing, "原点の文字", false, TViewType::vtVisible },
        { TFiguretype::FIG_arrow2writing, "x軸の文字", false, TViewType::vtVisible },
        { TFiguretype::FIG_arrow2writing, "y軸の文字", false, TViewType::vtVisible },
        { TFiguretype::FIG_zahyoujiku, "座標軸", false, TViewType::vtVisible },
    };
    ASSERT_EQ(field().count(), 9);
    for (int i = 0; i < 9; ++i) {
        TShape *s = field().item(i);
        const Expected &e = group[i];
        EXPECT_EQ(s->getFigureType(), e.type) << i;
        EXPECT_EQ(s->guidanceName(), QString::fromUtf8(e.name)) << i;
        EXPECT_EQ(s->getFView2list(), e.listed) << i;
        EXPECT_EQ(s->getViewType(), e.view) << i;
        EXPECT_FALSE(s->canDelete()) << i;
    }
    EXPECT_EQ(field().axes(), field().last());
    EXPECT_FALSE(field().isAxesShown());
    EXPECT_TRUE(axes().isHidden());
    EXPECT_FALSE(window.checked.value(TCommandId::cmdZahyoujikuToggle));
    // The labels' texts and places.
    struct Label
    {
        const char *text;
        TModelPoint mm;
        T_Direction direction;
    };
    const Label labels[] = { { "0", { 0, 0 }, T_Direction::dirSW },
        { "x", { 0, -1 }, T_Direction::dirSW }, { "y", { 2, 0 }, T_Direction::dirSE } };
    for (int i = 0; i < 3; ++i) {
        const TWriting &w = axes().label(i).writing();
        EXPECT_EQ(w.text(), QString::fromLatin1(labels[i].text));
        EXPECT_EQ(w.pt(), 14);
        EXPECT_EQ(w.getOffsetMmXy(), labels[i].mm);
        EXPECT_EQ(w.getDirection(), labels[i].direction);
    }
    // The parts open the axes' dialog; the origin cannot move.
    for (TShape *part : axes().parts().items())
        EXPECT_EQ(part->propertyType(), TPropertyType::Zahyoujiku);
    EXPECT_TRUE(axes().origin().isFixed());
    // A user's point comes after the group.
    TShapeDot *p = clickPoint(1, 1);
    EXPECT_EQ(field().indexOf(p), 9);
}

TEST_F(AxesTest, TheToggleChangesOnlyTheSixPartsAndTheHiddenFlag)
{
    clickPoint(2, 2);
    auto states = [&] {
        QList<TViewOnOff> v;
        for (TShape *s : field().items())
            v.append(s->getViewOnOff());
        return v;
    };
    const QList<TViewOnOff> hidden = states();
    controller->executeAction(TCommandId::cmdZahyoujikuToggle, true);
    const QList<TViewOnOff> shown = states();
    EXPECT_TRUE(window.checked.value(TCommandId::cmdZahyoujikuToggle));
    EXPECT_FALSE(axes().isHidden());
    const QSet<TShape *> parts(axes().parts().items().begin(), axes().parts().items().end());
    for (int i = 0; i < field().count(); ++i) {
        TShape *s = field().item(i);
        if (parts.contains(s)) {
            EXPECT_EQ(hidden[i], TViewOnOff::voOff) << i;
            EXPECT_EQ(shown[i], TViewOnOff::voOn) << i;
        } else {
            EXPECT_EQ(hidden[i], shown[i]) << i;
        }
    }
    controller->executeAction(TCommandId::cmdZahyoujikuToggle, false);
    EXPECT_EQ(states(), hidden);
    EXPECT_TRUE(axes().isHidden());
    // None of the group can be deleted, whatever is selected of it.
    select(&axes().axis(0));
    EXPECT_FALSE(window.deleteEnabled);
}

// The scale numbers and ticks drawn by the axes shape alone, on a screen of
// the field's scale.
class ScaleTest : public AxesTest
{
protected:
    struct Number
    {
        double at; // along its axis
        QSize size;
    };

    RecordingScreen &drawAxes(double mmPerUnit)
    {
        field().multiplyScale(mmPerUnit / 20, mmPerUnit / 20);
        field().setAxesShown(true);
        fScreen = std::make_unique<RecordingScreen>(field(), QSize(640, 480));
        TDrawStatus status;
        field().draw(status, *fScreen);
        fScreen->forget();
        const TDrawStatus again { TCurrentDrawStatus::Ordinary, true };
        axes().beforeDraw(again, *fScreen);
        axes().draw(again, *fScreen);
        return *fScreen;
    }
    // The numbers of one axis, in order along it.
    std::vector<Number> numbers(int axis) const
    {
        std::vector<Number> out;
        for (const RecordingScreen::Placed &b : fScreen->bitmaps) {
            const double along = axis == 0 ? b.anchor.x : b.anchor.y;
            const double across = axis == 0 ? b.anchor.y : b.anchor.x;
            if (across == 0 && along != 0)
                out.push_back({ along, b.size });
        }
        std::sort(out.begin(), out.end(), [](auto &a, auto &b) { return a.at < b.at; });
        return out;
    }
    std::vector<double> lines(TColor colour, int axis) const
    {
        std::vector<double> out;
        for (const RecordingScreen::Segment &s : fScreen->segments)
            if (s.colour == colour && (axis == 0 ? s.a.x == s.b.x : s.a.y == s.b.y))
                out.push_back(axis == 0 ? s.a.x : s.a.y);
        std::sort(out.begin(), out.end());
        return out;
    }
    double pixelsPerUnit(int axis) const
    {
        const TModelPoint mpp = fScreen->getModelPerPixel();
        return 1 / (axis == 0 ? mpp.x : mpp.y);
    }

    std::unique_ptr<RecordingScreen> fScreen;
};

TEST_F(ScaleTest, AtTheDefaultScaleEveryUnitHasItsNumberAndTickButThereIsNoGrid)
{
    drawAxes(20);
    const TModelViewRect v = fScreen->getModelViewRect();
    // 70.9 pixels per unit: from the origin out to the first unit beyond the view.
    for (int axis : { 0, 1 }) {
        const double reach = axis == 0 ? std::max(-v.left, v.right) : std::max(v.top, -v.bottom);
        const int last = int(std::ceil(reach));
        const std::vector<Number> n = numbers(axis);
        ASSERT_EQ(int(n.size()), 2 * last) << axis;
        for (int i = 0; i < last; ++i) {
            EXPECT_DOUBLE_EQ(n[std::size_t(last + i)].at, i + 1);
            EXPECT_DOUBLE_EQ(n[std::size_t(last - 1 - i)].at, -(i + 1));
        }
        EXPECT_EQ(lines(kColorBlack, axis == 0 ? 0 : 1).size(), n.size()) << "a tick each";
    }
    EXPECT_TRUE(lines(0xC0C0C0, 0).empty());
    EXPECT_TRUE(lines(0xC0C0C0, 1).empty());
    // Ticks are 1.6 mm long, centred on their axis.
    const RecordingScreen::Segment tick = fScreen->segments.first();
    EXPECT_NEAR(std::abs(tick.b.y - tick.a.y) * 20, 1.6, 1e-9);
    EXPECT_DOUBLE_EQ(tick.a.y, -tick.b.y);
}

// Zoomed out, and with numbers of every width: neighbours never come closer
// than the larger of their two sizes, always at multiples of one step on
// both sides of the origin.
struct SpacingCase
{
    const char *what;
    double mmPerUnit;
    const char *numerator;
    const char *denominator;
    bool pi;
};

class SpacingTest : public ScaleTest, public ::testing::WithParamInterface<SpacingCase>
{
};

TEST_P(SpacingTest, NeighbouringNumbersAreAtLeastTheirSizeApart)
{
    const SpacingCase c = GetParam();
    for (int axis : { 0, 1 }) {
        TWriting &scale = axes().axe(axis).scaleInterval();
        if (c.pi)
            scale.setRationalNumberPi(
                QString::fromLatin1(c.numerator), QString::fromLatin1(c.denominator), 11);
        else
            scale.setRationalNumber(
                QString::fromLatin1(c.numerator), QString::fromLatin1(c.denominator), 11);
    }
    drawAxes(c.mmPerUnit);
    for (int axis : { 0, 1 }) {
        TWriting &scale = axes().axe(axis).scaleInterval();
        const double s = scale.value(1);
        const std::vector<Number> n = numbers(axis);
        ASSERT_GE(n.size(), 4u) << c.what << axis;
        // Symmetric about the origin, at multiples of one step k.
        const std::size_t half = n.size() / 2;
        const double step = n[half].at;
        const int k = int(std::lround(step / s));
        EXPECT_GE(k, 1);
        for (std::size_t i = 0; i < half; ++i) {
            EXPECT_NEAR(n[half + i].at, scale.value(int(i + 1) * k), 1e-9) << c.what;
            EXPECT_NEAR(n[half - 1 - i].at, -scale.value(int(i + 1) * k), 1e-9) << c.what;
        }
        for (std::size_t i = 0; i + 1 < n.size(); ++i) {
            const double apart = (n[i + 1].at - n[i].at) * pixelsPerUnit(axis);
            const int size = std::max({ n[i].size.width(), n[i].size.height(),
                n[i + 1].size.width(), n[i + 1].size.height() });
            EXPECT_GE(apart, size) << c.what << " axis " << axis << " at " << n[i].at;
        }
        // The step is no larger than the widest number the view could show needs.
        const TModelViewRect v = fScreen->getModelViewRect();
        const double reach = axis == 0 ? std::max(-v.left, v.right) : std::max(v.top, -v.bottom);
        int widest = 0;
        for (int l = 1; l <= int(std::ceil(reach / s)); ++l)
            widest = std::max(widest, scale.measureHeight(-l, *fScreen));
        EXPECT_LT((k - 1) * s * pixelsPerUnit(axis), widest) << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, SpacingTest,
    ::testing::Values(SpacingCase { "every unit", 20, "1", "1", false },
        SpacingCase { "zoomed out", 2, "1", "1", false },
        SpacingCase { "far out", 0.3, "1", "1", false },
        SpacingCase { "halves", 20, "1", "2", false },
        SpacingCase { "long pi fractions", 6, "1", "7", true },
        SpacingCase { "thirds of pi zoomed out", 3, "2", "3", true }));

TEST_F(ScaleTest, AnIntervalBeyondTheViewsReachHasNoNumbers)
{
    axes().axe(0).scaleInterval().setRationalNumber(QStringLiteral("50"), QStringLiteral("1"), 11);
    drawAxes(20);
    EXPECT_TRUE(numbers(0).empty());
    EXPECT_FALSE(numbers(1).empty());
}

// Only a damaged or edited document holds these: no marks, no endless loop.
TEST_F(ScaleTest, AnIntervalThatIsNoPositiveNumberDrawsNoMarksOrGrid)
{
    for (const char *interval : { "0", "-1", "0.0001" }) {
        SCOPED_TRACE(interval);
        for (int axis : { 0, 1 }) {
            axes().axe(axis).scaleInterval().setRealNumber(QString::fromLatin1(interval), 11);
            axes().axe(axis).gridlineInterval().setRealNumber(QString::fromLatin1(interval), 11);
            axes().axe(axis).gridlineInterval().setView(true);
        }
        drawAxes(20);
        const bool tiny = interval[1] == '.';
        // A tiny interval still has its marks, every k-th one, never closer
        // than a number's width or 20 pixels.
        EXPECT_EQ(numbers(0).empty(), !tiny);
        EXPECT_EQ(lines(0xC0C0C0, 0).empty(), !tiny);
        if (tiny) {
            EXPECT_LT(numbers(0).size(), 40u);
            EXPECT_LT(lines(0xC0C0C0, 0).size(), 40u);
        }
    }
}

TEST_F(ScaleTest, ScrolledFarAwayTheNumbersStillCountFromTheOrigin)
{
    field().moveCentre(1000.5, 0);
    drawAxes(20);
    const std::vector<Number> n = numbers(0);
    ASSERT_FALSE(n.empty());
    const TModelViewRect v = fScreen->getModelViewRect();
    for (const Number &x : n) {
        EXPECT_DOUBLE_EQ(x.at, std::round(x.at));
        EXPECT_GT(x.at, v.left - 1);
        EXPECT_LT(x.at, v.right + 1);
    }
    EXPECT_GE(int(n.size()), int(v.right - v.left) - 1);
}

struct GridCase
{
    double pixelsPerUnit;
    int k;
};

class GridTest : public ScaleTest, public ::testing::WithParamInterface<GridCase>
{
};

TEST_P(GridTest, GridLinesAreAtLeast20PixelsApartAndNeverAtZero)
{
    const GridCase c = GetParam();
    for (int axis : { 0, 1 })
        axes().axe(axis).gridlineInterval().setView(true);
    drawAxes(c.pixelsPerUnit * 25.4 / 90.065);
    for (int axis : { 0, 1 }) {
        const std::vector<double> g = lines(0xC0C0C0, axis);
        ASSERT_GE(g.size(), 4u);
        for (double t : g) {
            EXPECT_NE(t, 0);
            EXPECT_NEAR(std::fmod(std::abs(t), c.k), 0, 1e-9) << t;
        }
        for (std::size_t i = 0; i + 1 < g.size(); ++i) {
            const double apart = (g[i + 1] - g[i]) * pixelsPerUnit(axis);
            if (g[i] < 0 && g[i + 1] > 0)
                EXPECT_NEAR(g[i + 1] - g[i], 2 * c.k, 1e-9); // the gap of the axis
            else
                EXPECT_GE(apart, 20);
        }
        // Each grid line spans the whole view.
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, GridTest,
    ::testing::Values(GridCase { 70.9, 1 }, GridCase { 12, 2 }, GridCase { 6, 4 }));

// The axes dialog: answers by editing what it is given, or cancels.
class ScriptedAxesDialog : public TZahyoujikuDialogFacade
{
public:
    bool editZahyoujikuProperty(TZahyoujikuProperty &property) override
    {
        ++calls;
        linkedName = property.hAxe.nameLabel ? property.hAxe.nameLabel->text() : QString();
        if (!accept)
            return false;
        property.hAxe.scaleInterval().setRationalNumber(
            QStringLiteral("1"), QStringLiteral("2"), 12);
        property.hAxe.nameLabel->setText(QStringLiteral("t"));
        return true;
    }
    bool accept = true;
    int calls = 0;
    QString linkedName;
};

TEST_F(AxesTest, ThePropertiesOfAnyPartOpenTheAxesDialogAndItRenamesTheAxis)
{
    auto owned = std::make_unique<ScriptedAxesDialog>();
    ScriptedAxesDialog *dialog = owned.get();
    auto previous = TZahyoujikuDialogFacade::install(std::move(owned));
    controller->executeAction(TCommandId::cmdZahyoujikuToggle, true);
    // Cancelled: nothing changes.
    dialog->accept = false;
    select(&axes().axis(0));
    controller->executeAction(TCommandId::cmdFigureProperty, true);
    EXPECT_EQ(dialog->calls, 1);
    EXPECT_EQ(dialog->linkedName, QStringLiteral("x"));
    EXPECT_EQ(axes().label(1).writing().text(), QStringLiteral("x"));
    // From the y axis's label too; the x axis gets its new name and scale.
    dialog->accept = true;
    select(&axes().label(2));
    controller->executeAction(TCommandId::cmdFigureProperty, true);
    EXPECT_EQ(dialog->calls, 2);
    EXPECT_EQ(axes().label(1).writing().text(), QStringLiteral("t"));
    EXPECT_DOUBLE_EQ(axes().axe(0).scaleInterval().value(1), 0.5);
    TZahyoujikuDialogFacade::install(std::move(previous));
}

TEST_F(AxesTest, DraggingTheOriginScrollsAnUnfixedFieldAndMovesNothingOnAFixedOne)
{
    controller->executeAction(TCommandId::cmdZahyoujikuToggle, true);
    model.redraw();
    TShapeDot &origin = axes().origin();
    // Fixed: the origin is a fixed point; nothing moves.
    dragPx(px(0, 0), px(0, 0) + QPoint(50, 30));
    EXPECT_EQ(origin.getXY(), (TModelPoint { 0, 0 }));
    EXPECT_EQ(px(0, 0), QPoint(320, 240));
    // Unfixed: the model origin comes under the cursor.
    controller->executeAction(TCommandId::cmdFixFieldToggle, false);
    dragPx(px(0, 0), QPoint(370, 270));
    EXPECT_EQ(origin.getXY(), (TModelPoint { 0, 0 }));
    EXPECT_NEAR(px(0, 0).x(), 370, 1);
    EXPECT_NEAR(px(0, 0).y(), 270, 1);
}

} // namespace
