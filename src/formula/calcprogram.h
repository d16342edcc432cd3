#pragma once

#include "formula/calccode.h"

#include <QtGlobal>
#include <cstdint>
#include <vector>

namespace zarno {

// The postfix code of a formula translated for speed: a flat array of
// instructions run by a threaded interpreter with the top of the stack in a
// register. Numbers and variables that feed an arithmetic operator are not
// pushed but folded into it as immediate or variable operands (3*x is one
// instruction), and "^^" carries its exponent. The program computes exactly
// what the symbols' own steps compute, in the same order.
//
// No value: a domain error stops the run with NaN; so does an arithmetic
// fault, detected as a value that is infinite or NaN where it could otherwise
// turn finite again (a divisor, an argument of arctan, exp, max, ...) and at
// the end.
class TCalcProgram
{
public:
    // Values the program may hold at once; formulas that need more have no
    // value (the shared stacks hold 110 + 1).
    static constexpr int kStackLength = 111;

    void build(const TCalcCodeList &code);
    void clear();

    double run() const;
    // One pass of the code over many values of one variable: results[i] is
    // what run() gives with the variable set to values[i]. The variable's
    // own value is left as it was.
    void runBatch(
        const double *variable, const double *values, double *results, qsizetype count) const;

    int instructionCount() const { return int(fCode.size()); }
    // Always NaN: the code needs deeper stacks than there are.
    bool noValue() const { return fNoValue; }
    // The instructions by name, for tests: "PUSH_V SQR ...".
    QString toString() const;

    struct Instr
    {
        double c = 0;
        const double *v = nullptr;
        const double *w = nullptr;
        std::int32_t n = 0;
        std::uint16_t op = 0;
    };

private:
    void runChunk(const double *variable, const double *values, double *results, int count) const;

    std::vector<Instr> fCode;
    int fMemory = 0; // stack slots below the register the run needs
    bool fNoValue = true;
    mutable std::vector<double> fBatchWork;
    mutable std::vector<std::uint8_t> fBatchFail;
};

} // namespace zarno
