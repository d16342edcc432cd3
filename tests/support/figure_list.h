#pragma once

#include "model/shapelist.h"
#include "support/memory_document.h"

namespace zarno::test {

// The shapes saved in memory as a document's figure list.
inline MemoryWriter savedFigureList(const TShapeList &list)
{
    MemoryWriter w;
    w.openTag(QStringLiteral("figureList"));
    list.saveAll(w);
    w.closeTag(QStringLiteral("figureList"));
    return w;
}

} // namespace zarno::test
