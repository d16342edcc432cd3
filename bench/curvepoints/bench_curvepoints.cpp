// Picking a graph through its drawn-curve record: the hit test by bisection
// against the linear scan over every recorded segment it replaced (the
// baseline), side by side on the same record as long as a 300-dpi export
// row (5000 columns) and as a screen row (1600 columns), with a box of ±5
// pixels, the one a click tests.
#include "graphs/nearestpoint.h"
#include "summary.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

using namespace zarno;

namespace {

constexpr double kStep = 0.01; // model units per pixel column

// A curve of the given number of columns with poles: pieces restart where
// tan leaves the view, as the calculator records them.
TNearestPointForDotOnFunction curve(int columns)
{
    TNearestPointForDotOnFunction r;
    r.setCapacity(columns);
    double last = 0;
    for (int i = 0; i < columns; ++i) {
        const double s = i * kStep;
        const double t = std::clamp(std::tan(s / 3) * 2, -8.0, 8.0);
        r.add(i == 0 || std::fabs(t - last) > 8, { s, t });
        last = t;
    }
    return r;
}

// The baseline: every recorded point and segment looked at.
bool linearHit(const TNearestPointForDotOnFunction &r, const TModelRectST &box)
{
    for (int i = 0; i <= r.lastIndex(); ++i) {
        const TModelPointST &p = r.item(i);
        if (box.containsPoint({ p.s, p.t }))
            return true;
        if (i > 0 && !r.pieceStart(i)) {
            const TModelPointST &q = r.item(i - 1);
            if (q.s >= box.sMin && p.s <= box.sMax
                && box.checkRange_inOrOut({ q.s, q.t }) != box.checkRange_inOrOut({ p.s, p.t }))
                return true;
        }
    }
    return false;
}

struct Figures
{
    double bisectionUs;
    double linearUs;
};

Figures measure(int columns)
{
    const TNearestPointForDotOnFunction r = curve(columns);
    constexpr int kClicks = 2000;
    std::vector<TModelRectST> boxes;
    for (int k = 0; k < kClicks; ++k) {
        const double s = (k * 7919 % columns) * kStep;
        const double t = (k % 17) - 8.0;
        boxes.push_back({ s - 5 * kStep, s + 5 * kStep, t - 5 * kStep, t + 5 * kStep });
    }
    int agree = 0;
    for (const TModelRectST &b : boxes)
        agree += r.hitsBox(b) == linearHit(r, b);
    if (agree != kClicks)
        std::printf("the two hit tests disagree on %d of %d boxes\n", kClicks - agree, kClicks);
    int hits = 0;
    const double bis = medianMs(
        [&] {
            for (const TModelRectST &b : boxes)
                hits += r.hitsBox(b);
        },
        21);
    const double lin = medianMs(
        [&] {
            for (const TModelRectST &b : boxes)
                hits += linearHit(r, b);
        },
        21);
    benchmark::DoNotOptimize(hits);
    return { bis * 1000 / kClicks, lin * 1000 / kClicks };
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    const Figures screen = measure(1600);
    const Figures wide = measure(5000);
    std::printf("hit test per click, bisection / linear scan baseline: screen %.3f / %.3f us, "
                "export %.3f / %.3f us\n",
        screen.bisectionUs, screen.linearUs, wide.bisectionUs, wide.linearUs);
    printBenchSummary("curvepoints",
        { { "hit_us_screen", screen.bisectionUs }, { "linear_us_screen", screen.linearUs },
            { "speedup_screen", screen.linearUs / screen.bisectionUs },
            { "hit_us_export", wide.bisectionUs }, { "linear_us_export", wide.linearUs },
            { "speedup_export", wide.linearUs / wide.bisectionUs } });
    return 0;
}
