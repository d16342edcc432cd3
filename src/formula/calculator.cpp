#include "formula/calculator.h"

#include "formula/calcops.h"
#include "formula/mathfault.h"

namespace zarno {

double TCalculator::calc_code(const TCalcCodeList &code) const
{
    TCalcStacks &stacks = code.symbolList().stacks();
    stacks.clear();
    const TCalcCodeList::Depth depth = code.depth();
    if (depth.doubles > stacks.doubles.length() || depth.integers > stacks.integers.length())
        return calcops::kNaN;
    try {
        for (const TCalcCode &c : code.entries()) {
            if (!c.symbol->calc(stacks, c.argumentCount)) {
                stacks.clear();
                return calcops::kNaN;
            }
        }
        const double r = code.getResult(stacks);
        return calcops::finite(r) ? r : calcops::kNaN;
    } catch (const EMathError &) {
        stacks.clear();
        return calcops::kNaN;
    } catch (const EMyFatalException &) {
        stacks.clear();
        throw;
    } catch (const EZarnoBase &e) {
        stacks.clear();
        throw EMyFatalException(
            QStringLiteral("TCalculator"), e.message(), QStringLiteral("calc_code"));
    }
}

} // namespace zarno
