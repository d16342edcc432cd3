#pragma once

#include "core/enums.h"

#include <QString>
#include <QStringList>

namespace zarno {

ZARNO_ENUM(TFiguretype, FIG_null, FIG_genten, FIG_zahyoujiku, FIG_printArea, FIG_printAreaDot,
    FIG_printAreaSenbun, FIG_dotOnField, FIG_dotOnLine, FIG_dotOnCircle, FIG_dotOnEllipse,
    FIG_dotOnFunction, FIG_dotOnFunctionY, FIG_shapeVariable2dot, FIG_line, FIG_senbun,
    FIG_hanCyokusen, FIG_arrow, FIG_arrowLine, FIG_arrowHanCyokusen, FIG_line_1tenHeikou,
    FIG_line_1tenSuicyoku, FIG_sessenOnCircle, FIG_sessenOnEllipse, FIG_circle, FIG_gaisetsuen,
    FIG_arc, FIG_ellipse, FIG_paint, FIG_triangle, FIG_writing, FIG_arrow2writing, FIG_function,
    FIG_functionY, FIG_seishiki, FIG_tracer, FIG_setten, FIG_dot2zahyou, FIG_shapeVariable2value,
    FIG_shapeVariable2function, FIG_seishiki2kyokuchiDots, FIG_dot2zahyouGroup, FIG_square,
    FIG_polygon, FIG_koutenLineLine, FIG_koutenLineCircle, FIG_koutenCircleCircle)

// The intersection points (kouten) came after the first release's figure
// types; they follow them, so every ordinal of the older ones stays as it was.

// Sets of figure types are indexed by ordinal and hold 48 bits.
using TFiguretypeSet = EnumSet<TFiguretype, 48>;

// One row of the figure catalog.
struct TFigureActionInfo
{
    TFiguretype figureType = TFiguretype::FIG_null;
    QString id;
    QString guidance;
    bool hasTool = false;
    bool visibleByDefault = false;
    QString menuLetter;
    QString menuDigit;
    QString groupName;
};

// The read-only catalog of constructions, walked in table order.
class TFigureInfo
{
public:
    static constexpr int kRowCount = 44;
    // The rows of the first release; the intersection points follow them.
    static constexpr int kFirstReleaseRowCount = 41;

    class Iterator
    {
    public:
        bool hasNext() const { return fReturned < kRowCount; }
        TFigureActionInfo next();

    private:
        int fReturned = 0;
    };

    static Iterator iterator() { return Iterator(); }
    static const TFigureActionInfo &row(int index);
    // The row of a figure type, or nullptr for FIG_printAreaDot and FIG_printAreaSenbun.
    static const TFigureActionInfo *find(TFiguretype type);
    // The guidance template of a figure type; empty where the catalog has no row.
    static QString guidanceTemplate(TFiguretype type);
    // The caption of a tool's button in the toolbar customisation and its hint.
    static QString toolbarText(const QString &guidanceTemplate);
    // The figure-menu groups in menu order.
    static const QStringList &menuGroups();
};

} // namespace zarno
