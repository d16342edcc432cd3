#pragma once

#include <QString>

namespace zarno {

// Number texts of the formula language.
struct TNumberText
{
    // The general format with at most 15 significant digits: plain notation
    // while the decimal exponent lies in -4..14, otherwise "1E-5", "1.5E20".
    // Folded constants are named (and read back) with it, so they carry 15
    // significant digits.
    static QString formatGeneral15(double value);
    // The same digits always in plain notation ("0.000000000000000012"):
    // a number that goes into a formula text, where "1E-5" would read as
    // 1·e − 5.
    static QString formatPlain15(double value);
    // A literal as the tokenizer sees it: digits with at most one point.
    static bool isDecimalLiteral(const QString &text);
    // Reads a decimal text ("2.5", ".5", "1E-5", "-3"); false for anything
    // that is not a finite double.
    static bool tryRead(const QString &text, double &value);
};

} // namespace zarno
