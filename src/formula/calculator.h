#pragma once

#include "formula/calccode.h"
#include "formula/calcprogram.h"

namespace zarno {

// Runs compiled formulas.
class TCalculator
{
public:
    // The symbols' own steps over the shared stacks: the meaning of the code,
    // one virtual step per entry. A domain error or an arithmetic fault gives
    // NaN and leaves the stacks empty.
    double calc_code(const TCalcCodeList &code) const;

    // The fast form of the same code, used for every evaluation.
    void load(const TCalcCodeList &code) { fProgram.build(code); }
    void unload() { fProgram.clear(); }
    double calculate() const { return fProgram.run(); }
    void calculateBatch(
        const TVariable &variable, const double *values, double *results, qsizetype count) const
    {
        fProgram.runBatch(variable.valueAddress(), values, results, count);
    }
    const TCalcProgram &program() const { return fProgram; }

private:
    TCalcProgram fProgram;
};

} // namespace zarno
