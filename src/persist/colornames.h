#pragma once

#include "platform/canvas.h"

#include <QString>

namespace zarno {

// Colours in files: a colour name where the value has one (clRed), else "$"
// and eight upper-case hexadecimal digits of the value (red in the low byte).
struct TColorNames
{
    static QString toText(TColor color);
    static bool fromText(const QString &text, TColor &color);
};

} // namespace zarno
