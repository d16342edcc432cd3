#pragma once

#include <QString>

namespace zarno {

// The fonts the platform offers, as typesetting asks for them: by the names
// of the program's own tables ("cmr10", "ＭＳ Ｐ明朝"). Installed font names
// differ between systems and even between locales of one system, so the
// answer is the family a canvas should be given, never a string to compare.
class TFontCatalog
{
public:
    virtual ~TFontCatalog() = default;
    // Whether the named font can be drawn with: installed itself, or through
    // the font the platform puts in its place.
    virtual bool isInstalled(const QString &name) const = 0;
    // The family a canvas draws the named font with; empty when it is not installed.
    virtual QString familyFor(const QString &name) const = 0;
};

} // namespace zarno
