// Arbitrary bytes as a document, with the digest check left out so that the
// parser and the rebuilding of shapes are reached: every input must end in a
// document or in one of the program's own exceptions. A document that reads
// is recomputed as its first drawing would, shape by shape in file order,
// then drawn as an image file would draw it (labels, the axes' numbers and
// grid included), which must not crash either.
#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "labels/labelclasses.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shape.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"
#include "platform/fontcatalog.h"
#include "support/fake_surface.h"
#include "typeset/typesetting.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

using namespace zarno;

namespace {

// Every font there under its own name.
class FuzzCatalog : public TFontCatalog
{
public:
    bool isInstalled(const QString &) const override { return true; }
    QString familyFor(const QString &name) const override { return name; }
};

// An image-file surface without pixels whose pixel coordinates stay in range
// for points anywhere.
class FuzzPrinter : public test::FakeSurface
{
public:
    FuzzPrinter()
        : FakeSurface(TViewerType::Printer, 1)
    { }
    QPoint modelToPixel(const TModelPoint &p) const override
    {
        auto clamp = [](double v) { return int(std::clamp(v * 100, -1e6, 1e6)); };
        return QPoint(clamp(p.x), clamp(-p.y));
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static TGuidanceNameCreator creator;
    static TShapeFactory *factory = [] {
        TParents2Children::setGuidanceNameCreator(&creator);
        static FuzzCatalog catalog;
        initializeTypesetting(catalog);
        auto *f = new TShapeFactory();
        registerModelRelationClasses(*f);
        registerGraphRelationClasses(*f);
        registerLabelRelationClasses(*f);
        return f;
    }();
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    std::unique_ptr<TZarnofile> doc;
    try {
        doc = TFileReader(QStringLiteral("fuzz.znt"), *factory).readBytes(bytes, false);
        doc->field().renumber();
        for (TShape *shape : doc->field().items())
            if (TAbstractParents2Children *relation = shape->relation())
                relation->calcChildren(nullptr);
    } catch (const EZarnoBase &) {
        return 0;
    }
    FuzzPrinter printer;
    TDrawStatus status;
    try {
        doc->field().draw(status, printer);
    } catch (const EFileFormatError &) {
        // Degenerate values the record did not rule out may still be refused
        // while drawing, never crash it.
    } catch (const EMyException &) { }
    return 0;
}
