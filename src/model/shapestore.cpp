#include "model/shapestore.h"

#include "model/shape.h"

namespace zarno {

TShapeStore::~TShapeStore()
{
    // Last to first: children stand after their parents, so they go first.
    TShapeList::clear();
    while (!fOwned.empty())
        fOwned.pop_back();
}

TShapeStore::TShapeStore(TShapeStore &&other) noexcept
    : TShapeList(std::move(other))
    , fOwned(std::move(other.fOwned))
{
    other.fOwned.clear();
}

void TShapeStore::add(std::unique_ptr<TShape> shape)
{
    TShape &s = *shape;
    TShapeList::add(shape.get());
    fOwned.push_back(std::move(shape));
    added(s);
}

void TShapeStore::takeAllFrom(TShapeStore &other)
{
    std::vector<std::unique_ptr<TShape>> moving = std::move(other.fOwned);
    other.fOwned.clear();
    other.TShapeList::clear();
    for (auto &shape : moving)
        add(std::move(shape));
}

std::unique_ptr<TShape> TShapeStore::take(TShape *shape)
{
    for (auto it = fOwned.begin(); it != fOwned.end(); ++it) {
        if (it->get() == shape) {
            std::unique_ptr<TShape> taken = std::move(*it);
            fOwned.erase(it);
            TShapeList::remove(shape);
            return taken;
        }
    }
    return nullptr;
}

void TShapeStore::sweepMarked()
{
    for (std::size_t i = fOwned.size(); i-- > 0;) {
        TShape *s = fOwned[i].get();
        s->beforeSweep();
        if (!s->isMarkedDelete())
            continue;
        TShape::checkDestroyable(*s);
        TShapeList::remove(s);
        fOwned.erase(fOwned.begin() + std::ptrdiff_t(i));
    }
}

} // namespace zarno
