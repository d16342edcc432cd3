#pragma once

#include "platform/fontcatalog.h"

#include <QHash>
#include <QStringList>

namespace zarno {

// The fonts of Qt's font database. The Computer Modern renderings built at
// set-up are registered with the application on first use; "ＭＳ Ｐ明朝" and
// "ＭＳ Ｐゴシック" are used when installed and otherwise stand for IPA P明朝
// and IPA Pゴシック. Needs a QGuiApplication.
class TQtFontCatalog final : public TFontCatalog
{
public:
    // The one catalog of the process; registers the typesetting fonts once.
    static TQtFontCatalog &instance();

    bool isInstalled(const QString &name) const override;
    QString familyFor(const QString &name) const override;

    // Where the typesetting fonts are looked for, in this order: beside the
    // program, in its install folder, in the source tree it was built from.
    static QStringList fontFolders();
    // The font files registered, for messages.
    const QStringList &registeredFiles() const { return fRegistered; }

private:
    TQtFontCatalog();
    QString resolve(const QString &name) const;

    QStringList fRegistered;
    mutable QHash<QString, QString> fFamilies;
};

} // namespace zarno
