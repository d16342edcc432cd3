// Message building cost: the safe format runs on every raised error, and the
// figure catalog is walked on every selection change.
#include "core/figurecatalog.h"
#include "core/safeformat.h"
#include "summary.h"

#include <benchmark/benchmark.h>
#include <chrono>

using namespace zarno;

static void BM_SafeFormat(benchmark::State &state)
{
    const QString format = QStringLiteral("列挙型(%s)には, %s はありません。 100\\%");
    for (auto _ : state)
        benchmark::DoNotOptimize(safeFormat(format, { fmtArg("T"), fmtArg("voMaybe") }));
}
BENCHMARK(BM_SafeFormat);

static void BM_CatalogWalk(benchmark::State &state)
{
    for (auto _ : state) {
        int tools = 0;
        auto it = TFigureInfo::iterator();
        while (it.hasNext())
            tools += it.next().hasTool ? 1 : 0;
        benchmark::DoNotOptimize(tools);
    }
}
BENCHMARK(BM_CatalogWalk);

namespace {
template <typename F> double nsPerCall(F f, int n)
{
    const auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < n; ++i)
        f();
    const auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::nano>(t1 - t0).count() / n;
}
} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const double format = nsPerCall(
        [] {
            benchmark::DoNotOptimize(
                safeFormat(QStringLiteral("%s=%d"), { fmtArg("a"), fmtArg(1) }));
        },
        200000);
    const double walk = nsPerCall(
        [] {
            auto it = TFigureInfo::iterator();
            while (it.hasNext())
                benchmark::DoNotOptimize(it.next());
        },
        20000);
    printBenchSummary("core", { { "safe_format_ns", format }, { "catalog_walk_ns", walk } });
    return 0;
}
