// Typeset text from labels, dialogs and documents: whatever it is, reading,
// laying out and drawing it must neither crash nor hang nor raise, and a
// tree holds an invalid token exactly when the text has an error. Formulas
// go the same way through their typeset text.
//
// Input layout: one byte of switches (bits 0-3: which mathematics fonts the
// platform pretends to lack; bit 4: a 300-dpi canvas instead of the screen;
// bit 5: the text is a formula; bits 6-7: the size, 10, 6, 24 or 72 points),
// then the text as UTF-8.
#include "formula/calcformulafacade.h"
#include "platform/fontcatalog.h"
#include "support/recording_canvas.h"
#include "typeset/drawformulafacade.h"
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
    QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1));
    const bool print = data[0] & 0x10;
    const bool formula = data[0] & 0x20;
    static const double kPoints[] = { 10, 6, 24, 72 };
    const double points = kPoints[data[0] >> 6];

    if (formula) {
        auto calc = TCalcFormulaFacade::createCalcFormulaFacade();
        TCalcSymbolOnOff onOff;
        onOff.xOn = onOff.yOn = true;
        onOff.pointCount = 2;
        calc->setCalcSymbolOnOff(onOff);
        calc->analyzeFormula(text);
        text = calc->getTeXString();
    }

    TTeX2ListFacade parser;
    const bool error = parser.analyze(text);
    const TTokenList *tree = parser.tokenList();
    if (!tree)
        std::abort();
    if (error != containsInvalid(*tree))
        std::abort();
    (void)dumpTokenList(*tree);

    static const TFixedTeXResolution screen;
    static const TFixedTeXResolution printer(300, 300);
    TTeXResolutionScope scope(print ? printer : screen);
    test::RecordingCanvas canvas;
    canvas.setFontResolution(print ? 300 : 96);
    TDrawFormulaFacade facade;
    facade.drawAt(canvas, 0, *tree, points, 0);
    (void)facade.dump();
    return 0;
}
