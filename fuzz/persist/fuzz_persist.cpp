// Arbitrary bytes as a tagged text file: the reader must answer with a
// file-format error or a tree, never crash or hang; typed reads over the
// tree may only raise the program's own exceptions.
#include "core/exceptions.h"
#include "persist/xmlreader.h"

#include <cstddef>
#include <cstdint>

using namespace zarno;

namespace {
void readAll(TXmlNode &node, int depth)
{
    if (depth > 64)
        return;
    for (TAbstractXmlNode *child : node.children()) {
        const QString name = child->tagName();
        try {
            (void)node.readString(name);
        } catch (const EZarnoBase &) { }
        try {
            (void)node.readBoolOr(name, false);
        } catch (const EZarnoBase &) { }
        try {
            (void)node.readDouble(name);
        } catch (const EZarnoBase &) { }
        try {
            (void)node.readColor(name);
        } catch (const EZarnoBase &) { }
        try {
            (void)node.readModelPoint(name);
        } catch (const EZarnoBase &) { }
        readAll(static_cast<TXmlNode &>(*child), depth + 1);
    }
    try {
        node.checkAllRead(QStringLiteral("TFuzz"), QStringLiteral("readAll"));
    } catch (const EZarnoBase &) { }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        TXmlFileReader reader(QStringLiteral("fuzz.znt"));
        readAll(reader.plainLoadBytes(bytes), 0);
    } catch (const EZarnoBase &) { }
    try {
        TXmlFileReader(QStringLiteral("fuzz.znt")).checkedLoadBytes(bytes);
    } catch (const EZarnoBase &) { }
    return 0;
}
