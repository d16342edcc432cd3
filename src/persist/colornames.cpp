#include "persist/colornames.h"

namespace zarno {

namespace {
struct Named
{
    const char *name;
    TColor value;
};
constexpr Named kNames[] = {
    { "clBlack", 0x000000 },
    { "clMaroon", 0x000080 },
    { "clGreen", 0x008000 },
    { "clOlive", 0x008080 },
    { "clNavy", 0x800000 },
    { "clPurple", 0x800080 },
    { "clTeal", 0x808000 },
    { "clGray", 0x808080 },
    { "clSilver", 0xC0C0C0 },
    { "clRed", 0x0000FF },
    { "clLime", 0x00FF00 },
    { "clYellow", 0x00FFFF },
    { "clBlue", 0xFF0000 },
    { "clFuchsia", 0xFF00FF },
    { "clAqua", 0xFFFF00 },
    { "clWhite", 0xFFFFFF },
    { "clMoneyGreen", 0xC0DCC0 },
    { "clSkyBlue", 0xF0CAA6 },
    { "clCream", 0xF0FBFF },
    { "clMedGray", 0xA4A0A0 },
};
} // namespace

QString TColorNames::toText(TColor color)
{
    for (const Named &n : kNames)
        if (n.value == color)
            return QString::fromLatin1(n.name);
    return QStringLiteral("$") + QStringLiteral("%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

bool TColorNames::fromText(const QString &text, TColor &color)
{
    for (const Named &n : kNames) {
        if (text == QLatin1String(n.name)) {
            color = n.value;
            return true;
        }
    }
    if (text.size() != 9 || text[0] != QLatin1Char('$'))
        return false;
    bool ok = false;
    const uint v = text.mid(1).toUInt(&ok, 16);
    if (!ok)
        return false;
    color = v;
    return true;
}

} // namespace zarno
