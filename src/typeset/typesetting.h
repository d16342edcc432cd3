#pragma once

#include "platform/fontcatalog.h"

namespace zarno {

// Sets up the class-wide tables of typesetting, once at start-up before any
// typeset text is read or drawn: the font manager from the installed fonts,
// then the symbol table, whose entries depend on which fonts are there.
// Raises the fatal start-up error when the Japanese font is missing.
void initializeTypesetting(const TFontCatalog &catalog);

} // namespace zarno
