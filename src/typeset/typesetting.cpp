#include "typeset/typesetting.h"

#include "typeset/fontmanage.h"
#include "typeset/texsymbol.h"

namespace zarno {

void initializeTypesetting(const TFontCatalog &catalog)
{
    TFontManage::initialize(catalog);
    TTeXDrawSymbolList::build();
}

} // namespace zarno
