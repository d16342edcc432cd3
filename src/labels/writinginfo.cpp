#include "labels/writinginfo.h"

#include "base/fileio.h"
#include "core/exceptions.h"
#include "core/safeformat.h"
#include "render/dpi.h"

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

const QString kPt = QStringLiteral("pt");
const QString kView = QStringLiteral("view");
const QString kOffset = QStringLiteral("offsetMmXy");
const QString kDirection = QStringLiteral("direction");

// A label dragged far away still draws: its pixel offset stays inside what
// the canvas takes instead of overflowing a 32-bit pixel coordinate.
int mmToPixelsClamped(double mm, double dpi)
{
    constexpr double kLimit = 1e6;
    return int(std::nearbyint(std::clamp(mm * dpi / 25.4, -kLimit, kLimit)));
}

} // namespace

void TWritingInfo::unsupported(const char *method) const
{
    throw ESouteigai(QStringLiteral("TWritingInfo"), QString::fromLatin1(method));
}

void TWritingInfo::checkSlot(int slot, const char *method)
{
    if (slot < 0 || slot >= kBackupSlots)
        throw ESouteigai(QStringLiteral("TWritingInfo"),
            { fmtArg(QStringLiteral("slot")), fmtArg(slot), fmtArg(0), fmtArg(kBackupSlots - 1) },
            QStringLiteral("%sの値(%d)が想定された範囲(%d〜 %d)内にありません。"),
            QString::fromLatin1(method));
}

void TWritingInfo::setOffsetMmXy(const TModelPoint &)
{
    unsupported("setOffsetMmXy");
}

void TWritingInfo::setDirection(T_Direction)
{
    unsupported("setDirection");
}

TModelPoint TWritingInfo::getOffsetMmXy() const
{
    unsupported("getOffsetMmXy");
}

T_Direction TWritingInfo::getDirection() const
{
    unsupported("getDirection");
}

QPoint TWritingInfo::positionViewOffsetXy(int, int) const
{
    unsupported("positionViewOffsetXy");
}

void TWritingInfo::save(TAbstractFileWriter &writer) const
{
    writer.writeInteger(kPt, fPt);
    writer.writeBool(kView, fView);
    writer.newLine();
}

void TWritingInfo::load(TAbstractXmlNode &node)
{
    const int pt = node.readInteger(kPt);
    // Sizes outside the range would lay out bitmaps of absurd size.
    if (pt < kMinPt || pt > kMaxPt)
        node.raiseFormatError(
            safeFormat(QStringLiteral("文字の大きさ(%d)が範囲(%d〜%d)を外れています。"),
                { fmtArg(pt), fmtArg(kMinPt), fmtArg(kMaxPt) }));
    fPt = pt;
    fView = node.readBool(kView);
}

void TWritingInfo::store(int slot)
{
    checkSlot(slot, "store");
    fBackups[std::size_t(slot)] = State { fPt, fView };
}

void TWritingInfo::restore(int slot)
{
    checkSlot(slot, "restore");
    fPt = fBackups[std::size_t(slot)].pt;
    fView = fBackups[std::size_t(slot)].view;
}

bool TWritingInfo::differsFrom(int slot) const
{
    checkSlot(slot, "differsFrom");
    return !(fBackups[std::size_t(slot)] == State { fPt, fView });
}

void TWritingOffsetInfo::save(TAbstractFileWriter &writer) const
{
    TWritingInfo::save(writer);
    writer.writeMmOffset(kOffset, fOffsetMm);
    writer.writeDirection(kDirection, fDirection);
    writer.newLine();
}

void TWritingOffsetInfo::load(TAbstractXmlNode &node)
{
    TWritingInfo::load(node);
    const TModelPoint mm = node.readModelPoint(kOffset);
    if (!std::isfinite(mm.x) || !std::isfinite(mm.y))
        node.raiseFormatError(QStringLiteral("offsetMmXyが数値ではありません。"));
    fOffsetMm = mm;
    fDirection = node.readEnum<T_Direction>(kDirection);
}

void TWritingOffsetInfo::store(int slot)
{
    TWritingInfo::store(slot);
    fPlaces[std::size_t(slot)] = Place { fOffsetMm, fDirection };
}

void TWritingOffsetInfo::restore(int slot)
{
    TWritingInfo::restore(slot);
    fOffsetMm = fPlaces[std::size_t(slot)].offsetMm;
    fDirection = fPlaces[std::size_t(slot)].direction;
}

bool TWritingOffsetInfo::differsFrom(int slot) const
{
    return TWritingInfo::differsFrom(slot)
        || !(fPlaces[std::size_t(slot)] == Place { fOffsetMm, fDirection });
}

QPoint TWritingOffsetInfo::positionViewOffsetXy(int width, int height) const
{
    const TModelPoint dpi = TDpi::current();
    const QPoint offset(
        mmToPixelsClamped(fOffsetMm.x, dpi.x), mmToPixelsClamped(-fOffsetMm.y, dpi.y));
    return offset + textAnchorOffset(width, height, fDirection);
}

} // namespace zarno
