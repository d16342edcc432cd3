#pragma once

#include <array>
#include <cstdint>

namespace zarno {

// One character of a TeX font metric file: the code under which the
// TrueType rendering has it, and its width, height above the baseline and
// depth below it in units of the font's design size.
struct TTfmRecord
{
    std::uint8_t code;
    float width;
    float height;
    float depth;
};

constexpr int kTfmCharCount = 128;
constexpr int kTfmFontCount = 7;

struct TTfmTable
{
    const char *name;
    std::array<TTfmRecord, kTfmCharCount> records;
};

// cmr10, cmr6, cmsy10, cmsy6, cmmi10, cmmi6, cmex10, generated from the TFM
// files (scripts/gen-tfm-tables.py).
extern const std::array<TTfmTable, kTfmFontCount> kTfmTables;

} // namespace zarno
