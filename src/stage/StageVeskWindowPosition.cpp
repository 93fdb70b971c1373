#include "stage/StageVeskWindowPosition.h"

#include <cmath>

namespace vesk {

QJsonObject StageVeskWindowPosition::toJson() const
{
    return {{"x", x}, {"y", y}, {"width", width}, {"height", height}, {"z", z}};
}

std::optional<StageVeskWindowPosition> StageVeskWindowPosition::fromJson(const QJsonObject& object)
{
    for (const char* key : {"x", "y", "width", "height", "z"}) {
        if (!object.value(key).isDouble())
            return std::nullopt;
    }
    const double z = object.value("z").toDouble();
    if (z != std::trunc(z))
        return std::nullopt;
    return StageVeskWindowPosition{object.value("x").toDouble(), object.value("y").toDouble(),
                                   object.value("width").toDouble(), object.value("height").toDouble(),
                                   static_cast<int>(z)};
}

} // namespace vesk
