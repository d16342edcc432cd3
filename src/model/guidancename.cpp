#include "model/guidancename.h"

#include "core/commonprocs.h"
#include "core/exceptions.h"
#include "model/shape.h"
#include "model/shapelist.h"

#include <map>

namespace zarno {

namespace {
const QString kEllipsis = QStringLiteral("…");
const QString kKatachi = QStringLiteral("SH");
} // namespace

TGuidanceNameCreator::TGuidanceNameCreator()
{
    for (std::size_t i = 0; i < fTemplates.size(); ++i)
        fTemplates[i] = TFigureInfo::guidanceTemplate(static_cast<TFiguretype>(i));
}

QString TGuidanceNameCreator::templateOf(TFiguretype type) const
{
    return fTemplates[std::size_t(type)];
}

QString TGuidanceNameCreator::nameFor(TFiguretype figureType, const TShapeList &parents) const
{
    const QString tmpl = templateOf(figureType);

    // A list of parents: every parent by number, then the rest of the template.
    const qsizetype ellipsis = tmpl.indexOf(kEllipsis);
    if (ellipsis >= 0) {
        QString name;
        for (const TShape *p : parents.items())
            name += QLatin1Char(',') + p->noAndShapetypeString() + QLatin1Char(' ');
        if (!name.isEmpty())
            name.remove(0, 1);
        return name + tmpl.mid(ellipsis + kEllipsis.size());
    }

    // Any one shape.
    if (tmpl.contains(kKatachi)) {
        if (parents.count() > 1)
            throw ESouteigai(QStringLiteral("TGuidanceNameCreator"),
                QStringLiteral("親が2個以上あります。"), QStringLiteral("replaceIfHasKatachi"));
        QString name = tmpl;
        if (parents.count() == 1)
            name.replace(kKatachi, parents.first()->noAndShapetypeString() + QLatin1Char(' '));
        return name;
    }

    // Each parent replaces its own placeholder, numbered per shape type.
    std::map<TShapetype, int> counters;
    QString name = tmpl;
    for (const TShape *p : parents.items()) {
        const int n = ++counters[p->shapeType()];
        name = p->replaceGuidanceStaring(n, name);
    }
    return name;
}

QString TGuidanceNameCreator::figureTypeName(TFiguretype figureType) const
{
    return TCommonProcs::replaceInOrder(templateOf(figureType),
        { { "P", "点" }, { "SR", "線" }, { "SH", "形" }, { "L", "直線" }, { "C", "円" },
            { "E", "楕円" }, { "F", "関数のグラフ" }, { "A", "矢印" } });
}

} // namespace zarno
