#pragma once

#include "platform/canvas.h"

#include <QPainterPath>
#include <QRawFont>

namespace zarno {

// The raw font of a family at a fractional em size, unhinted, so that
// glyphs keep the advances they were laid out with.
QRawFont glyphRawFont(const QString &family, double pixelSize);

// The outlines of a typeset run as one path, with the run's origin at
// (x, baseline) and its stretch applied: what a vector file records instead
// of text, so that it shows right where the fonts are not installed.
QPainterPath glyphRunOutline(
    double x, double baseline, const QString &text, const TGlyphFont &font);

} // namespace zarno
