#pragma once

#include "model/shapelist.h"

#include <memory>
#include <vector>

namespace zarno {

// Owns shapes in creation order, so parents always stand before their
// children. The document's field is one; the factory hands what it built back
// in one, and whatever nobody takes is freed with the store, children first.
// Every other list only refers to shapes: it is a plain TShapeList.
//
// The referring list this class derives from gives read access and the draw
// passes; shapes come in and go out only through the operations below.
class TShapeStore : public TShapeList
{
public:
    TShapeStore() = default;
    ~TShapeStore() override;
    TShapeStore(TShapeStore &&other) noexcept;
    TShapeStore &operator=(TShapeStore &&) = delete;

    // Appends the shape and takes it over.
    void add(std::unique_ptr<TShape> shape);
    // Moves every shape of other to the end, in order; other is left empty.
    void takeAllFrom(TShapeStore &other);
    // Hands the shape back to the caller; nullptr when this store has none such.
    std::unique_ptr<TShape> take(TShape *shape);

    // The second phase of deleting (the first marks the shapes and their
    // descendants): last to first, each shape hears that a sweep passes it
    // and is freed when marked.
    void sweepMarked();

    // A store's order is its creation order; the referring operations that
    // would put foreign or unowned shapes into it do not exist here.
    void add(TShape *) = delete;
    void insertFirst(TShape *) = delete;
    void remove(TShape *) = delete;
    void clear() = delete;

protected:
    // Called after each shape came in (the field remembers its axes and area).
    virtual void added(TShape &) { }

private:
    std::vector<std::unique_ptr<TShape>> fOwned;
};

} // namespace zarno
