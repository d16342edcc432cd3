#pragma once

#include <algorithm>

namespace zarno {

// A box of typeset text in pixels: width, height above the baseline, depth
// below it, and the position of its left end on the baseline (x, y with y
// downwards).
class TWhdXy
{
public:
    double width() const { return fWidth; }
    double totalHeight() const { return fTotal; }
    double depth() const { return fDepth; }
    double height() const { return fTotal - fDepth; }
    double x() const { return fX; }
    double y() const { return fY; }
    double right() const { return fX + fWidth; }
    double top() const { return fY - height(); }
    double bottom() const { return fY + fDepth; }

    void reset() { fWidth = fTotal = fDepth = 0; }
    void setWTD(double width, double total, double depth)
    {
        fWidth = width;
        fTotal = total;
        fDepth = depth;
    }
    void setWHD(double width, double height, double depth) { setWTD(width, height + depth, depth); }
    void setPosition(double x, double y)
    {
        fX = x;
        fY = y;
    }
    // Sets the position and answers the right end.
    double placeAt(double x, double y)
    {
        setPosition(x, y);
        return x + fWidth;
    }
    void copySize(const TWhdXy &other) { setWTD(other.fWidth, other.fTotal, other.fDepth); }
    void copyPosition(const TWhdXy &other) { setPosition(other.fX, other.fY); }
    // Another box set on the same baseline to the right of this one.
    void appendRight(const TWhdXy &other)
    {
        appendRightWTD(other.fDepth, other.fTotal, other.fWidth);
    }
    void appendRightWTD(double depth, double total, double width)
    {
        setWHD(fWidth + width, std::max(height(), total - depth), std::max(fDepth, depth));
    }

private:
    double fWidth = 0;
    double fTotal = 0;
    double fDepth = 0;
    double fX = 0;
    double fY = 0;
};

} // namespace zarno
