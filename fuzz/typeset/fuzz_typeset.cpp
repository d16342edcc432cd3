// Typeset text from labels, dialogs and documents: whatever it is, reading it
// must neither crash nor hang nor raise, and a tree holds an invalid token
// exactly when the text has an error.
//
// Input layout: one byte of font switches (which mathematics fonts the
// platform pretends to lack), then the text as UTF-8.
#include "platform/fontcatalog.h"
#include "typeset/tex2list.h"
#include "typeset/typesetting.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace zarno;

namespace {

// Every font there under its own name, except those switched off.
class FuzzCatalog : public TFontCatalog
{
public:
    std::uint8_t missing = 0;
    bool isInstalled(const QString &name) const override
    {
        static const char *const kMath[] = { "cmr", "cmsy", "cmmi", "cmex" };
        for (int i = 0; i < 4; ++i)
            if ((missing >> i) & 1 && name.startsWith(QLatin1String(kMath[i])))
                return false;
        return true;
    }
    QString familyFor(const QString &name) const override
    {
        return isInstalled(name) ? name : QString();
    }
};

bool containsInvalid(const TTokenList &root)
{
    std::vector<const TTokenList *> pending { &root };
    while (!pending.empty()) {
        const TTokenList *list = pending.back();
        pending.pop_back();
        for (const TListValue &cell : *list) {
            const TTeXToken *t = cell.token;
            if (t->kind() == TMyTokentype::mt_invalid)
                return true;
            if (const auto *s = dynamic_cast<const TTeXTokenString *>(t); s && s->isInvalid())
                return true;
            for (int i = 0; i < t->argumentCount(); ++i)
                pending.push_back(&t->argument(i));
            pending.push_back(&t->superscripts());
            pending.push_back(&t->subscripts());
        }
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    static FuzzCatalog catalog;
    static std::uint8_t built = 0xFF;
    const std::uint8_t missing = data[0] & 0x0F;
    if (built != missing) {
        catalog.missing = missing;
        initializeTypesetting(catalog);
        built = missing;
    }
    const QString text
        = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));

    TTeX2ListFacade parser;
    const bool error = parser.analyze(text);
    const TTokenList *tree = parser.tokenList();
    if (!tree)
        std::abort();
    if (error != containsInvalid(*tree))
        std::abort();
    (void)dumpTokenList(*tree);
    return 0;
}
