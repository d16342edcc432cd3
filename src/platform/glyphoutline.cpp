#include "platform/glyphoutline.h"

#include <QFont>
#include <QTransform>
#include <algorithm>
#include <cmath>

namespace zarno {

QRawFont glyphRawFont(const QString &family, double pixelSize)
{
    QFont font(family);
    font.setPixelSize(std::max(1, int(std::lround(pixelSize))));
    font.setHintingPreference(QFont::PreferNoHinting);
    QRawFont raw = QRawFont::fromFont(font);
    if (raw.isValid())
        raw.setPixelSize(pixelSize);
    return raw;
}

QPainterPath glyphRunOutline(double x, double baseline, const QString &text, const TGlyphFont &font)
{
    QPainterPath path;
    if (text.isEmpty() || !(font.pixelSize > 0) || !(font.scaleX > 0) || !(font.scaleY > 0))
        return path;
    if (font.characterMapOnly) {
        const QRawFont raw = glyphRawFont(font.family, font.pixelSize);
        if (!raw.isValid())
            return path;
        const QList<quint32> glyphs = raw.glyphIndexesForString(text);
        const QList<QPointF> advances
            = raw.advancesForGlyphIndexes(glyphs, QRawFont::UseDesignMetrics);
        QPointF pen(0, 0);
        for (qsizetype i = 0; i < glyphs.size(); ++i) {
            path.addPath(raw.pathForGlyph(glyphs[i]).translated(pen));
            pen += advances.value(i);
        }
    } else {
        QFont qfont(font.family);
        qfont.setPixelSize(std::max(1, int(std::lround(font.pixelSize))));
        qfont.setBold(font.bold);
        path.addText(QPointF(0, 0), qfont, text);
    }
    if (font.bold && font.characterMapOnly) {
        // Synthetic bold as on the screen: the run once more, a hair right.
        const qreal offset = std::max(1.0, font.pixelSize / 24) / font.scaleX;
        path.addPath(path.translated(offset, 0));
    }
    path.setFillRule(Qt::WindingFill);
    return QTransform(font.scaleX, 0, 0, font.scaleY, x, baseline).map(path);
}

} // namespace zarno
