#include "platform/regionmask.h"

#include "core/exceptions.h"
#include "platform/bitmap.h"

#include <QImage>

namespace zarno {

namespace {

constexpr QRgb kRgbMask = 0xFFFFFF;

// Our colours have red in the low byte, the image's pixels in the high one.
QRgb rgbOf(TColor c)
{
    return QRgb(colorRed(c) << 16 | colorGreen(c) << 8 | colorBlue(c));
}

void checkMask(const QImage &image, const char *method)
{
    if (!image.isNull() && image.format() != QImage::Format_RGB32
        && image.format() != QImage::Format_ARGB32)
        throw ERgnError(QStringLiteral("TRegion"),
            QStringLiteral("bitmapからリージョンを作成できませんでした。"),
            QString::fromLatin1(method));
}

} // namespace

long long scanlineFill(TBitmap &bitmap, int x, int y, TColor border, TColor fill)
{
    QImage &image = bitmap.writableImage();
    checkMask(image, "scanlineFill");
    const int w = image.width(), h = image.height();
    if (x < 0 || y < 0 || x >= w || y >= h)
        return 0;
    const QRgb stop = rgbOf(border), paint = rgbOf(fill);
    const QRgb painted = 0xFF000000u | paint;
    auto row = [&](int r) { return reinterpret_cast<QRgb *>(image.scanLine(r)); };
    auto open = [&](QRgb p) {
        const QRgb c = p & kRgbMask;
        return c != stop && c != paint;
    };
    if (!open(row(y)[x]))
        return 0;
    // Seeds of spans still to fill; each popped seed fills its whole span
    // and pushes one seed per open run in the rows above and below it.
    struct Seed
    {
        int x, y;
    };
    std::vector<Seed> stack;
    stack.reserve(1024);
    stack.push_back({ x, y });
    long long count = 0;
    const auto seedRuns = [&](const QRgb *line, int from, int to, int r) {
        int i = from;
        while (i <= to) {
            while (i <= to && !open(line[i]))
                ++i;
            if (i > to)
                break;
            stack.push_back({ i, r });
            while (i <= to && open(line[i]))
                ++i;
        }
    };
    while (!stack.empty()) {
        const Seed s = stack.back();
        stack.pop_back();
        QRgb *line = row(s.y);
        if (!open(line[s.x]))
            continue;
        int left = s.x, right = s.x;
        while (left > 0 && open(line[left - 1]))
            --left;
        while (right < w - 1 && open(line[right + 1]))
            ++right;
        for (int i = left; i <= right; ++i)
            line[i] = painted;
        count += right - left + 1;
        if (s.y > 0)
            seedRuns(row(s.y - 1), left, right, s.y - 1);
        if (s.y < h - 1)
            seedRuns(row(s.y + 1), left, right, s.y + 1);
    }
    return count;
}

TRegion TRegion::makeRgnFromBitmap(const TBitmap &mask, TColor exceptColour)
{
    const QImage &image = mask.image();
    checkMask(image, "makeRgnFromBitmap");
    TRegion region;
    const QRgb except = rgbOf(exceptColour);
    const int w = image.width(), h = image.height();
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        int x = 0;
        while (x < w) {
            while (x < w && (line[x] & kRgbMask) == except)
                ++x;
            if (x >= w)
                break;
            const int start = x;
            while (x < w && (line[x] & kRgbMask) != except)
                ++x;
            region.fRects.append(QRect(start, y, x - start, 1));
        }
    }
    return region;
}

long long TRegion::area() const
{
    long long sum = 0;
    for (const QRect &r : fRects)
        sum += qint64(r.width()) * r.height();
    return sum;
}

TBlockCoverage blockCoverage(const TBitmap &mask, TColor exceptColour, int block)
{
    const QImage &image = mask.image();
    checkMask(image, "blockCoverage");
    TBlockCoverage grid;
    if (block < 1 || image.isNull())
        return grid;
    const int w = image.width(), h = image.height();
    grid.columns = (w + block - 1) / block;
    grid.rows = (h + block - 1) / block;
    grid.cells.assign(size_t(grid.columns) * size_t(grid.rows), false);
    const QRgb except = rgbOf(exceptColour);
    for (int y = 0; y < h; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const size_t base = size_t(y / block) * size_t(grid.columns);
        for (int x = 0; x < w; ++x) {
            if ((line[x] & kRgbMask) == except)
                continue;
            // The rest of this block's row says nothing new.
            grid.cells[base + size_t(x / block)] = true;
            x = (x / block + 1) * block - 1;
        }
    }
    return grid;
}

} // namespace zarno
