// Text from files and dialogs goes through these conversions; none may crash,
// and every failure must be one of the program's own exceptions.
#include "core/commonprocs.h"
#include "core/enums.h"
#include "core/exceptions.h"
#include "core/safeformat.h"

#include <cstddef>
#include <cstdint>

using namespace zarno;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    try {
        TCommonProcs::str2dint(text);
    } catch (const EMyException &) { }
    try {
        TCommonProcs::str2double(text);
    } catch (const EMyException &) { }
    try {
        TCommonProcs::str2bool(text);
    } catch (const EMyException &) { }
    try {
        TEnumConverter<TShapetype>::to_T(text);
    } catch (const ESouteigai &) { }
    // The text as a format with a few arguments of each kind.
    (void)safeFormat(text, { fmtArg(1), fmtArg(2.5), fmtArg("s") });
    (void)safeFormat(text, {});
    return 0;
}
