#include "enforcement/EnforcementLogText.h"

#include "core/TextFormat.h"

namespace vesk {

QString pointText(Point point)
{
    return QStringLiteral("(%1, %2)").arg(doubleText(point.x), doubleText(point.y));
}

} // namespace vesk
