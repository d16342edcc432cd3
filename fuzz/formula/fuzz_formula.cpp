// Formula text from dialogs and documents: whatever it is, compiling and
// evaluating it must neither crash nor hang nor raise, and the fast program
// must compute exactly what the symbols' own steps compute.
//
// Input layout: one byte of variable switches, two 8-byte values for the
// variables, then the formula as UTF-8.
#include "formula/calcformulafacade.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

using namespace zarno;

namespace {

bool same(double a, double b)
{
    return a == b || (std::isnan(a) && std::isnan(b));
}

double readDouble(const std::uint8_t *p)
{
    double v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 17)
        return 0;
    const std::uint8_t switches = data[0];
    const double a = readDouble(data + 1);
    const double b = readDouble(data + 9);
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data + 17), qsizetype(size - 17));

    TCalcSymbolOnOff onOff;
    onOff.xOn = switches & 1;
    onOff.yOn = switches & 2;
    onOff.pointCount = (switches >> 2) & 3;
    onOff.circleCount = (switches >> 4) & 1;
    onOff.ellipseCount = (switches >> 5) & 1;
    onOff.lineCount = (switches >> 6) & 1;

    auto facade = TCalcFormulaFacade::createCalcFormulaFacade();
    facade->setCalcSymbolOnOff(onOff);
    const int flag = facade->compileFormula(text);
    if (flag != 0 && flag != 1)
        std::abort();
    if (facade->tree())
        (void)facade->tree()->dump();

    // Every variable gets one of the two values, so that formulas over
    // several variables meet both.
    const auto &variables = TCalcSymbolTable::getInstance().variables();
    for (std::size_t i = 0; i < variables.size(); ++i)
        variables[i]->setValue(i % 2 ? b : a);

    const double value = facade->calculate();
    if (flag == 0) {
        if (!same(value, facade->calculator().calc_code(*facade->code())))
            std::abort();
        // The batch form over x must match single evaluations.
        TVariable *x = variables[0];
        const double xs[3] = { a, b, a * 0.5 + 1 };
        double batch[3];
        facade->calculateBatch(*x, xs, batch, 3);
        for (int i = 0; i < 3; ++i) {
            x->setValue(xs[i]);
            if (!same(batch[i], facade->calculate()))
                std::abort();
        }
    } else if (!std::isnan(value)) {
        std::abort();
    }
    (void)facade->isValidNumberFormula(text);
    return 0;
}
