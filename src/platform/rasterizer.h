#pragma once

#include <QRect>
#include <QVector>
#include <cstdint>

namespace zarno::raster {

// Coordinates handed to these functions lie within ±kMaxCoordinate, which
// keeps their integer arithmetic exact; the canvas sends anything larger to
// QPainter.
constexpr int kMaxCoordinate = 1 << 20;

// Where aliased 1-pixel outlines go: 32-bit pixels (RGB32) and a clip. The
// clip is a bounding rectangle and, when it is made of several rectangles,
// the list of them.
struct TPixelTarget
{
    std::uint32_t *bits = nullptr;
    qsizetype stride = 0; // in pixels
    QRect bounds; // every plotted pixel lies inside it
    const QVector<QRect> *rects = nullptr;
    std::uint32_t color = 0;

    bool contains(int x, int y) const
    {
        // QRect::contains is out of line; this runs once per pixel.
        if (x < bounds.left() || x > bounds.right() || y < bounds.top() || y > bounds.bottom())
            return false;
        if (!rects)
            return true;
        for (const QRect &r : *rects)
            if (r.contains(x, y))
                return true;
        return false;
    }
    void plot(int x, int y) const
    {
        if (contains(x, y))
            bits[y * stride + x] = color;
    }
};

// A line covering both end pixels. The pixels do not depend on which end
// comes first: the minor coordinate is the ideal one rounded half up,
// measured from the end with the smaller major coordinate.
void line(const TPixelTarget &t, int x0, int y0, int x1, int y1);

// A line stroked with a pen of the given width (at least 2) and round ends:
// the pixel centres at most width/2 from the segment, decided in exact
// integers. Lines of a polyline drawn one by one meet in round joins.
void wideLine(const TPixelTarget &t, int x0, int y0, int x1, int y1, int width);

// The ellipse in the box stroked with a pen of the given width (at least 2)
// and, when fill is set, filled with fillColor: the pen covers the pixel
// centres between the ellipses whose semi-axes are w/2 larger and w/2
// smaller than the box's, the fill the centres inside the smaller one.
void wideEllipse(const TPixelTarget &t, int x1, int y1, int x2, int y2, int width, bool fill,
    std::uint32_t fillColor);

// Pixel centres inside the ellipse of the box, in the target's colour.
void fillEllipse(const TPixelTarget &t, int x1, int y1, int x2, int y2);

// The part of wideEllipse's pen that lies in the counter-clockwise sweep
// between the radials (see arc): a wide arc with flat (radial) ends.
void wideArc(const TPixelTarget &t, int x1, int y1, int x2, int y2, int width, int sx, int sy,
    int ex, int ey);

// The outline of the ellipse through the box's edge pixels: one pixel per
// column where the curve is flatter than 45°, one per row where steeper,
// each the pixel nearest the curve. Mirror symmetric about both axes.
void ellipse(const TPixelTarget &t, int x1, int y1, int x2, int y2);

// The part of that outline swept counter-clockwise as seen on screen from the
// radial through (sx, sy) to the radial through (ex, ey); equal radials give
// the whole ellipse.
void arc(const TPixelTarget &t, int x1, int y1, int x2, int y2, int sx, int sy, int ex, int ey);

// Whether the pixel direction (u, v), measured from the centre with y up,
// lies in the counter-clockwise sweep from s to e (all in the same frame).
bool inSweep(qint64 su, qint64 sv, qint64 eu, qint64 ev, qint64 u, qint64 v);

} // namespace zarno::raster
