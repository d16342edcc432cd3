#pragma once

// Small shape and relation classes that exercise the shape framework the way
// the real constructions do, drawing into a recording surface.

#include "core/exceptions.h"
#include "model/relation.h"
#include "model/shape.h"
#include "model/shapestore.h"
#include "support/fake_surface.h"

#include <QStringList>
#include <cmath>

namespace zarno::test {

// Destruction order, shared by every test shape.
inline QStringList &freedLog()
{
    static QStringList log;
    return log;
}

class TestShape : public TShape
{
public:
    TestShape(TShapetype type, QString name, QString word, QString letter, bool front = false)
        : TShape(type)
        , fName(std::move(name))
        , fWord(std::move(word))
        , fLetter(std::move(letter))
        , fFront(front)
    {
        penBrush().setStates({ TPenBrushState::pbSelect, TPenBrushState::pbSelect,
            TPenBrushState::pbSelect, TPenBrushState::pbDisable, TPenBrushState::pbDisable,
            TPenBrushState::pbSelect, TPenBrushState::pbSelect });
    }
    ~TestShape() override { freedLog() << fName; }

    QString className() const override { return QStringLiteral("TTestShape"); }
    QString shapetypeString() const override { return fWord; }
    QString alphabetShapetypeString() const override { return fLetter; }
    bool isDrawnInFront() const override { return fFront; }
    double rawDistance(const TModelPoint &p, const TModelPoint &) const override
    {
        return std::hypot(p.x - x, p.y - y);
    }
    void moveXYOffsetXY(double dx, double dy) override
    {
        x += dx;
        y += dy;
    }

    const QString &name() const { return fName; }
    double x = 0;
    double y = 0;
    TColor lastPenColor = 0;

protected:
    void drawSelected(const TDrawStatus &, TAbstractImageAdapter &surface, TPenBrush &pb) override
    {
        lastPenColor = pb.getPenColor();
        static_cast<FakeSurface &>(surface).record(fName + QStringLiteral("(selected)"));
    }
    void drawNormal(const TDrawStatus &, TAbstractImageAdapter &surface) override
    {
        static_cast<FakeSurface &>(surface).record(fName);
    }

private:
    QString fName;
    QString fWord;
    QString fLetter;
    bool fFront;
};

inline TestShape *newDot(const QString &name, double x = 0, double y = 0)
{
    auto *d = new TestShape(
        TShapetype::SHAPE_dot, name, QStringLiteral("点"), QStringLiteral("P"), true);
    d->x = x;
    d->y = y;
    return d;
}
inline TestShape *newLine(const QString &name)
{
    return new TestShape(TShapetype::SHAPE_line, name, QStringLiteral("線"), QStringLiteral("L"));
}
inline TestShape *newCircle(const QString &name)
{
    return new TestShape(TShapetype::SHAPE_circle, name, QStringLiteral("円"), QStringLiteral("C"));
}
inline TestShape *newLabel(const QString &name)
{
    return new TestShape(
        TShapetype::SHAPE_writing, name, QStringLiteral("文字列"), QStringLiteral("W"));
}

// A relation that recomputes nothing; its validity is whatever the test sets,
// or, with the collinear rule, false while its three point parents lie on a line.
class TestRelation : public TParents2Children
{
public:
    TestRelation(const TRelationClass &cls, TFiguretype type)
        : TParents2Children(type)
        , fClass(cls)
    { }
    QString className() const override { return fClass.className(); }
    const TRelationClass &relationClass() const override { return fClass; }
    bool calcChildren(TAbstractImageAdapter *) override
    {
        ++recomputed;
        if (collinearRule && myShape()->parents().count() == 3) {
            auto *a = static_cast<TestShape *>(myShape()->parents().item(0));
            auto *b = static_cast<TestShape *>(myShape()->parents().item(1));
            auto *c = static_cast<TestShape *>(myShape()->parents().item(2));
            const double cross = (b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x);
            setValid(!TCheckZeroInfinity::isZero(cross));
        }
        return isValid();
    }
    void forceValid(bool v) { setValid(v); }

    int recomputed = 0;
    bool collinearRule = false;

private:
    const TRelationClass &fClass;
};

// A relation class with configurable rules, building one child per call, or
// the closed chain of lines through n points like the two-point line.
class TestRelationClass : public TRelationClass
{
public:
    enum class Builds { OneLine, Chain, OneCircle, ParallelLine, OneDot, Nothing };

    TestRelationClass(QString name, TFiguretypeSet types, Builds builds = Builds::OneLine)
        : fName(std::move(name))
        , fTypes(types)
        , fBuilds(builds)
    { }
    std::function<void(TParentShapeInfoList &)> rules;
    // Points made by clicking: no parent rules, never offered for a selection.
    bool clickOnly = false;

    void createParentShapeInfoList() override
    {
        if (!clickOnly)
            TRelationClass::createParentShapeInfoList();
    }
    bool isMyParentShapes(const TShapeList *shapes) const override
    {
        return !clickOnly && TRelationClass::isMyParentShapes(shapes);
    }

    QString className() const override { return fName; }
    TFiguretypeSet supportedFigureTypes() const override { return fTypes; }
    std::unique_ptr<TAbstractParents2Children> createRelation(TFiguretype t) const override
    {
        return std::make_unique<TestRelation>(*this, t);
    }
    void s_createShapes2shapeList(
        TShapeStore &out, TFiguretype type, bool, const TShapeList &parents) const override
    {
        checkSupported(type);
        auto build = [&](TestShape *child, const TShapeList &ps) {
            auto *rel = static_cast<TestRelation *>(attachNew(type, *child));
            if (fBuilds == Builds::ParallelLine)
                rel->setRelationChildAndParentsThinkFirst(TShapetype::SHAPE_dot, child, ps);
            else
                rel->setRelation(child, ps);
            out.add(std::unique_ptr<TShape>(child));
        };
        if (fBuilds == Builds::Chain) {
            const int n = parents.count();
            for (int i = 0; i + 1 < n; ++i) {
                TShapeList pair;
                pair.add(parents.item(i));
                pair.add(parents.item(i + 1));
                build(newLine(QStringLiteral("L%1%2").arg(i).arg(i + 1)), pair);
            }
            if (n > 2) {
                TShapeList pair;
                pair.add(parents.last());
                pair.add(parents.first());
                build(newLine(QStringLiteral("L%1%2").arg(n - 1).arg(0)), pair);
            }
        } else if (fBuilds == Builds::Nothing) {
            return; // as when the user cancels a dialog
        } else if (fBuilds == Builds::OneDot) {
            build(newDot(QStringLiteral("dot")), parents);
        } else if (fBuilds == Builds::OneCircle) {
            build(newCircle(QStringLiteral("circle")), parents);
        } else {
            build(newLine(QStringLiteral("line")), parents);
        }
    }

protected:
    void fillParentRules(TParentShapeInfoList &list) const override
    {
        if (!rules)
            TRelationClass::fillParentRules(list);
        rules(list);
    }

private:
    QString fName;
    TFiguretypeSet fTypes;
    Builds fBuilds;
};

} // namespace zarno::test
