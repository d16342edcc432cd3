// Evaluation speed of compiled formulas against muparser and hand-written
// C++: function graphs evaluate their formula at every sample of every frame.
//
// Each expression is compiled once and evaluated at 1,000,000 values of x in
// [-5, 5]; the table gives ns per evaluation (the best of several rounds, as
// the machine is shared), compile time per expression and the batch form's
// ns per value.
#include "formula/calcformulafacade.h"
#include "summary.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <functional>
#include <muParser.h>
#include <numbers>
#include <vector>

using namespace zarno;

namespace {

struct Expression
{
    const char *ours;
    const char *muparser;
    double (*hand)(double);
};

const Expression kExpressions[] = {
    { "x^2-3x+2", "x^2-3*x+2", [](double x) { return x * x - 3 * x + 2; } },
    { "sin(x)cos(2x)+sqrt(abs(x))", "sin(x)*cos(2*x)+sqrt(abs(x))",
        [](double x) { return std::sin(x) * std::cos(2 * x) + std::sqrt(std::fabs(x)); } },
    { "1.5x^4-2x^3+x-7", "1.5*x^4-2*x^3+x-7",
        [](double x) { return 1.5 * x * x * x * x - 2 * x * x * x + x - 7; } },
    { "exp(-x^2/2)/sqrt(2pi)", "exp(-(x^2)/2)/sqrt(2*_pi)",
        [](double x) { return std::exp(-x * x / 2) / std::sqrt(2 * std::numbers::pi); } },
    { "(x+1)/(x-1)+log(x^2+1)", "(x+1)/(x-1)+ln(x^2+1)",
        [](double x) { return (x + 1) / (x - 1) + std::log(x * x + 1); } },
};

constexpr int kValues = 1000000;
constexpr int kChunk = 10000;
constexpr int kRounds = 9;

// The machine is shared, so a whole pass over the values is rarely left
// alone by the scheduler. Each measurement is therefore timed in chunks, the
// measurements take turns chunk by chunk, and each chunk's best time over the
// rounds counts: the sum is one undisturbed pass.
using Measurement = std::function<void(int begin, int end)>;

std::vector<double> bestNsPerItem(
    const std::vector<Measurement> &measurements, int items, int chunk)
{
    const int chunks = (items + chunk - 1) / chunk;
    std::vector<std::vector<double>> best(measurements.size(), std::vector<double>(chunks, 1e300));
    for (int r = 0; r < kRounds; ++r) {
        for (int c = 0; c < chunks; ++c) {
            const int begin = c * chunk;
            const int end = std::min(items, begin + chunk);
            for (std::size_t m = 0; m < measurements.size(); ++m) {
                const auto t0 = std::chrono::steady_clock::now();
                measurements[m](begin, end);
                const auto t1 = std::chrono::steady_clock::now();
                const double ns = std::chrono::duration<double, std::nano>(t1 - t0).count();
                best[m][std::size_t(c)] = std::min(best[m][std::size_t(c)], ns);
            }
        }
    }
    std::vector<double> perItem;
    for (const auto &b : best) {
        double sum = 0;
        for (double ns : b)
            sum += ns;
        perItem.push_back(sum / items);
    }
    return perItem;
}

// Where a result has a value it must be the hand-written one; a few points
// may have none (a divisor within 0.00001 of zero has no quotient for us).
bool agrees(const std::vector<double> &results, const std::vector<double> &reference,
    const char *what, const char *expression)
{
    int noValue = 0;
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (std::isnan(results[i])) {
            ++noValue;
            continue;
        }
        const double scale = std::max(1.0, std::fabs(reference[i]));
        if (!(std::fabs(results[i] - reference[i]) <= 1e-9 * scale)) {
            std::fprintf(stderr, "%s, %s: %.17g instead of %.17g at point %zu\n", expression, what,
                results[i], reference[i], i);
            return false;
        }
    }
    if (noValue > 10) {
        std::fprintf(stderr, "%s, %s: %d points without value\n", expression, what, noValue);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);

    std::vector<double> xs(kValues);
    for (int i = 0; i < kValues; ++i)
        xs[std::size_t(i)] = -5.0 + 10.0 * i / (kValues - 1);
    std::vector<double> out(kValues);
    std::vector<double> oursOut(kValues);
    std::vector<double> batchOut(kValues);
    std::vector<double> muOut(kValues);

    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    TCalcSymbolOnOff onOff;
    onOff.xOn = true;
    facade->setCalcSymbolOnOff(onOff);

    std::printf("%-28s %9s %9s %9s %7s %7s %9s %9s %11s\n", "expression", "ours", "muparser",
        "hand", "ours/mu", "ours/hd", "batch", "compile", "mu compile");
    std::printf("%-28s %9s %9s %9s %7s %7s %9s %9s %11s\n", "", "ns/eval", "ns/eval", "ns/eval", "",
        "", "ns/value", "us", "us");

    double worstRatio = 0;
    double worstBatch = 0;
    double worstCompile = 0;
    for (const Expression &e : kExpressions) {
        const QString text = QString::fromLatin1(e.ours);

        if (facade->compileFormula(text) != 0) {
            std::fprintf(stderr, "%s does not compile\n", e.ours);
            return 1;
        }
        TVariable *x = facade->mustFindVar(QStringLiteral("x"));
        double muX = 0;
        mu::Parser parser;
        parser.DefineVar("x", &muX);
        auto compiled = TCalcFormulaFacade::createCalcFormulaFacade();
        compiled->setCalcSymbolOnOff(onOff);

        parser.SetExpr(e.muparser);
        const std::vector<double> evaluation
            = bestNsPerItem({
                                [&](int begin, int end) {
                                    for (int i = begin; i < end; ++i) {
                                        x->setValue(xs[std::size_t(i)]);
                                        oursOut[std::size_t(i)] = facade->calculate();
                                    }
                                    benchmark::DoNotOptimize(oursOut.data());
                                },
                                [&](int begin, int end) {
                                    for (int i = begin; i < end; ++i) {
                                        muX = xs[std::size_t(i)];
                                        muOut[std::size_t(i)] = parser.Eval();
                                    }
                                    benchmark::DoNotOptimize(muOut.data());
                                },
                                [&](int begin, int end) {
                                    for (int i = begin; i < end; ++i)
                                        out[std::size_t(i)] = e.hand(xs[std::size_t(i)]);
                                    benchmark::DoNotOptimize(out.data());
                                },
                                [&](int begin, int end) {
                                    facade->calculateBatch(*x, xs.data() + begin,
                                        batchOut.data() + begin, end - begin);
                                    benchmark::DoNotOptimize(batchOut.data());
                                },
                            },
                kValues, kChunk);
        const double ours = evaluation[0], mu = evaluation[1], hand = evaluation[2],
                     batch = evaluation[3];

        double muCompileX = 0;
        mu::Parser compiledParser;
        compiledParser.DefineVar("x", &muCompileX);
        const std::vector<double> compiling
            = bestNsPerItem({
                                [&](int begin, int end) {
                                    for (int i = begin; i < end; ++i)
                                        compiled->compileFormula(text);
                                },
                                [&](int begin, int end) {
                                    // muparser parses on the first evaluation.
                                    for (int i = begin; i < end; ++i) {
                                        compiledParser.SetExpr(e.muparser);
                                        benchmark::DoNotOptimize(compiledParser.Eval());
                                    }
                                },
                            },
                2000, 100);
        const double compileUs = compiling[0] / 1000.0, muCompileUs = compiling[1] / 1000.0;

        // All four must compute the same function, and the batch exactly
        // what single evaluations give.
        if (!agrees(oursOut, out, "ours", e.ours) || !agrees(muOut, out, "muparser", e.ours)
            || !agrees(batchOut, out, "batch", e.ours))
            return 1;
        for (int i = 0; i < kValues; ++i) {
            const double a = oursOut[std::size_t(i)];
            const double b = batchOut[std::size_t(i)];
            if (!(a == b || (std::isnan(a) && std::isnan(b)))) {
                std::fprintf(
                    stderr, "%s: batch %.17g, single %.17g at point %d\n", e.ours, b, a, i);
                return 1;
            }
        }

        const double ratio = ours / mu;
        worstRatio = std::max(worstRatio, ratio);
        worstBatch = std::max(worstBatch, batch);
        worstCompile = std::max(worstCompile, compileUs);
        std::printf("%-28s %9.2f %9.2f %9.2f %7.2f %7.2f %9.2f %9.2f %11.2f\n", e.ours, ours, mu,
            hand, ratio, ours / hand, batch, compileUs, muCompileUs);
    }
    benchmark::Shutdown();
    printBenchSummary("formula",
        { { "worst_ratio_to_muparser", worstRatio }, { "batch_ns_per_value", worstBatch },
            { "compile_us", worstCompile } });
    return 0;
}
