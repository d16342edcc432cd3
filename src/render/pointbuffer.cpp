#include "render/pointbuffer.h"

#include "core/exceptions.h"
#include "render/unittransformer.h"

#include <cmath>

namespace zarno {

TPointBuffer::TPointBuffer()
    : fFixed(kFixedCapacity)
{ }

TPointBuffer &TPointBuffer::instance()
{
    static TPointBuffer buffer;
    return buffer;
}

TPointBuffer::Points TPointBuffer::convert(const TUnitTransformer &transform,
    const TModelPoint &offset, int lastIndex, const double *xs, const double *ys)
{
    TPointBuffer &b = instance();
    const int n = lastIndex + 1;
    std::vector<QPoint> *target = &b.fFixed;
    if (n > kFixedCapacity) {
        if (int(b.fGrowable.size()) < n)
            b.fGrowable.resize(std::size_t(n));
        target = &b.fGrowable;
    }
    QPoint *out = target->data();
    const TUnitTransformer::Mapping m = transform.mapping();
    for (int i = 0; i < n; ++i) {
        if (std::isnan(xs[i]) || std::isnan(ys[i]))
            throw ESouteigai(QStringLiteral("TImageAdapter"), { fmtArg(i) },
                QStringLiteral("NaNが渡されました。array[%d]"),
                QStringLiteral("s_modelPointArray2pAry"));
        out[i]
            = QPoint(TUnitTransformer::toPixel(m.sx * (xs[i] + offset.x) + m.ox, "modelToPixelX"),
                TUnitTransformer::toPixel(m.sy * (ys[i] + offset.y) + m.oy, "modelToPixelY"));
    }
    return { out, n };
}

} // namespace zarno
