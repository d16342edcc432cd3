#pragma once

#include "formula/formula_test_support.h"
#include "platform/fontcatalog.h"
#include "platform/qtfontcatalog.h"
#include "typeset/typesetting.h"

#include <QSet>
#include <QStringList>

namespace zarno::test {

// Typesetting set up from the fonts the platform has, as the program does.
inline void useInstalledFonts()
{
    initializeTypesetting(TQtFontCatalog::instance());
}

// The platform's fonts with some of them taken away.
class HidingCatalog : public TFontCatalog
{
public:
    HidingCatalog(const TFontCatalog &base, const QStringList &hidden)
        : fBase(base)
        , fHidden(hidden.begin(), hidden.end())
    { }
    bool isInstalled(const QString &name) const override
    {
        return !fHidden.contains(name) && fBase.isInstalled(name);
    }
    QString familyFor(const QString &name) const override
    {
        return fHidden.contains(name) ? QString() : fBase.familyFor(name);
    }

private:
    const TFontCatalog &fBase;
    QSet<QString> fHidden;
};

} // namespace zarno::test
