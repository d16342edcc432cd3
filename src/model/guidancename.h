#pragma once

#include "core/figurecatalog.h"

#include <QString>
#include <array>

namespace zarno {

class TShapeList;

// Builds the descriptive name of a shape (#3点 ,#5点 を通る直線) from the
// guidance template of its construction and its numbered parents.
class TGuidanceNameCreator
{
public:
    TGuidanceNameCreator();

    QString templateOf(TFiguretype type) const;
    QString nameFor(TFiguretype figureType, const TShapeList &parents) const;
    // The construction's display name for menu items (点1を通り, 直線1に平行な直線).
    QString figureTypeName(TFiguretype figureType) const;

private:
    std::array<QString, EnumTraits<TFiguretype>::count> fTemplates;
};

} // namespace zarno
