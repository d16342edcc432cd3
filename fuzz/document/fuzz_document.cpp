// Arbitrary bytes as a document, with the digest check left out so that the
// parser and the rebuilding of shapes are reached: every input must end in a
// document or in one of the program's own exceptions. A document that reads
// is recomputed as its first drawing would, shape by shape in file order.
#include "core/exceptions.h"
#include "graphs/dot2function.h"
#include "model/field.h"
#include "model/guidancename.h"
#include "model/modelclasses.h"
#include "model/relation.h"
#include "model/shape.h"
#include "model/shapefactory.h"
#include "persist/zarnofile.h"

#include <cstddef>
#include <cstdint>

using namespace zarno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static TGuidanceNameCreator creator;
    static TShapeFactory *factory = [] {
        TParents2Children::setGuidanceNameCreator(&creator);
        auto *f = new TShapeFactory();
        registerModelRelationClasses(*f);
        registerGraphRelationClasses(*f);
        return f;
    }();
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        std::unique_ptr<TZarnofile> doc
            = TFileReader(QStringLiteral("fuzz.znt"), *factory).readBytes(bytes, false);
        doc->field().renumber();
        for (TShape *shape : doc->field().items())
            if (TAbstractParents2Children *relation = shape->relation())
                relation->calcChildren(nullptr);
    } catch (const EZarnoBase &) { }
    return 0;
}
