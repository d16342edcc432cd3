#include "model/geometry/segmentclip.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>

using namespace zarno;

namespace {

const TClipBox kUnit { -1, 1, -1, 1 };

struct Case
{
    const char *what;
    TModelPoint p, q;
    std::optional<TSegmentPart> expected;
};

} // namespace

TEST(SegmentClip, KeepsThePartInsideTheBox)
{
    const Case cases[] = {
        { "inside", { -0.5, 0 }, { 0.5, 0.5 }, TSegmentPart { 0, 1 } },
        { "leaves right", { 0, 0 }, { 2, 0 }, TSegmentPart { 0, 0.5 } },
        { "enters from the right", { 2, 0 }, { 0, 0 }, TSegmentPart { 0.5, 1 } },
        { "ends on the edge", { 0, 0 }, { 1, 0 }, TSegmentPart { 0, 1 } },
        { "through", { -3, 0 }, { 3, 0 }, TSegmentPart { 1.0 / 3, 2.0 / 3 } },
        { "diagonal through", { -2, -2 }, { 2, 2 }, TSegmentPart { 0.25, 0.75 } },
        { "along the top edge", { -2, 1 }, { 2, 1 }, TSegmentPart { 0.25, 0.75 } },
        { "touches a corner", { 0, 2 }, { 2, 0 }, TSegmentPart { 0.5, 0.5 } },
        { "a point inside", { 0.5, 0.5 }, { 0.5, 0.5 }, TSegmentPart { 0, 1 } },
        { "above", { -2, 2 }, { 2, 3 }, std::nullopt },
        { "parallel beyond the top", { -2, 1.5 }, { 2, 1.5 }, std::nullopt },
        // Each edge alone lets it through; only together they shut it out.
        { "past the corner", { 3, -0.5 }, { -0.5, 3 }, std::nullopt },
        { "short of the box", { 3, 0 }, { 2, 0 }, std::nullopt },
        { "a point outside", { 2, 0 }, { 2, 0 }, std::nullopt },
    };
    for (const Case &c : cases) {
        const std::optional<TSegmentPart> got = clipSegmentToBox(c.p, c.q, kUnit);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.what;
        if (!got)
            continue;
        EXPECT_DOUBLE_EQ(got->t0, c.expected->t0) << c.what;
        EXPECT_DOUBLE_EQ(got->t1, c.expected->t1) << c.what;
    }
}

// Kept exactly where the segment is in the box: checked against samples
// along segments that cross, touch and miss a box off the origin.
TEST(SegmentClip, AgreesWithSamplesAlongTheSegment)
{
    const TClipBox box { 1, 4, -2, 0.5 };
    auto inBox = [&](double x, double y) {
        return x >= box.xMin && x <= box.xMax && y >= box.yMin && y <= box.yMax;
    };
    const double coords[] = { -3, 0, 1, 2.5, 4, 7 };
    int crossing = 0, missing = 0;
    for (double px : coords)
        for (double py : coords)
            for (double qx : coords)
                for (double qy : coords) {
                    const std::optional<TSegmentPart> part
                        = clipSegmentToBox({ px, py }, { qx, qy }, box);
                    for (int i = 0; i <= 200; ++i) {
                        const double t = i / 200.0;
                        const double x = px + t * (qx - px), y = py + t * (qy - py);
                        if (!inBox(x, y))
                            continue;
                        ASSERT_TRUE(part)
                            << px << "," << py << " " << qx << "," << qy << " t=" << t;
                        EXPECT_GE(t, part->t0 - 1e-12);
                        EXPECT_LE(t, part->t1 + 1e-12);
                    }
                    if (!part) {
                        ++missing;
                        continue;
                    }
                    ++crossing;
                    EXPECT_LE(part->t0, part->t1);
                    for (double t : { part->t0, part->t1 }) {
                        const double x = px + t * (qx - px), y = py + t * (qy - py);
                        EXPECT_NEAR(std::clamp(x, box.xMin, box.xMax), x, 1e-12);
                        EXPECT_NEAR(std::clamp(y, box.yMin, box.yMax), y, 1e-12);
                    }
                }
    EXPECT_GT(crossing, 100);
    EXPECT_GT(missing, 100);
}
