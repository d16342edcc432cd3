#pragma once

#include "core/enums.h"
#include "core/figurecatalog.h"
#include "core/listiterator.h"

#include <QList>

namespace zarno {

class TShape;
class TShapeVisitor;
class TAbstractFileWriter;
class TAbstractImageAdapter;
struct TDrawStatus;

// An ordered list that refers to shapes (parents, children, selections,
// candidates) and never frees them. The shapes themselves are owned by a
// TShapeStore: the document's field, or what the factory just built.
class TShapeList
{
public:
    using Iterator = TListIterator<TShape *>;

    TShapeList() = default;
    virtual ~TShapeList() = default;
    TShapeList(const TShapeList &) = delete;
    TShapeList &operator=(const TShapeList &) = delete;
    TShapeList(TShapeList &&other) noexcept
        : fItems(std::move(other.fItems))
    {
        other.fItems.clear();
    }

    void add(TShape *shape);
    void insertFirst(TShape *shape);
    // Removes the first occurrence; the shape is not freed.
    void remove(TShape *shape);
    // Forgets every shape without freeing any.
    void clear();
    int count() const { return int(fItems.size()); }
    bool isEmpty() const { return fItems.isEmpty(); }
    bool contains(const TShape *shape) const;
    int indexOf(const TShape *shape) const;
    TShape *item(int index) const;
    TShape *first() const { return item(0); }
    TShape *second() const { return item(1); }
    TShape *third() const { return item(2); }
    TShape *last() const { return item(count() - 1); }
    const QList<TShape *> &items() const { return fItems; }

    Iterator forward(int skipStart = 0, int skipEnd = 0) const
    {
        return Iterator(fItems, Iterator::Direction::Forward, skipStart, skipEnd);
    }
    Iterator backward(int skipStart = 0, int skipEnd = 0) const
    {
        return Iterator(fItems, Iterator::Direction::Backward, skipStart, skipEnd);
    }

    void selectAll();
    void deselectAll();
    void deselectAndClear();
    // Every shape's figure type is in the set; false for an empty list.
    bool allFigureTypesIn(const TFiguretypeSet &types) const;
    bool anyFigureTypeIn(const TFiguretypeSet &types) const;
    bool anyHasChild() const;
    bool anyOfShapetype(TShapetype type) const;

    // The first phase of deleting: marks the shapes of this list and their
    // descendants; the store that owns them frees them in its sweep.
    void markForDelete();

    void beforeDrawAll(const TDrawStatus &status, TAbstractImageAdapter &surface);
    void drawAll(const TDrawStatus &status, TAbstractImageAdapter &surface);
    void afterDrawAll(const TDrawStatus &status, TAbstractImageAdapter &surface);
    // The document draw: before-draw pass, every shape but the points, the
    // points on top, the status reset to 0, then the after-draw pass.
    void drawField(TDrawStatus &status, TAbstractImageAdapter &surface);

    void saveAll(TAbstractFileWriter &writer) const;
    void acceptVisitor(TShapeVisitor &visitor) const;

    // Numbers every shape, first to last: listed shapes 0, 1, 2, ..., the
    // others -1, -2, ...; then every guidance name is rebuilt.
    void renumber();

private:
    QList<TShape *> fItems;
};

// Walks a list and lets each shape report a number (a distance, a count).
class TShapeVisitor
{
public:
    virtual ~TShapeVisitor() = default;
    virtual int visitShape(TShape &shape) = 0;
    void visitList(const TShapeList &list);
};

} // namespace zarno
