#include "overlay/OverlaySuppressedWindowSnapshot.h"

namespace vesk {

QString OverlaySuppressedWindowSnapshot::toRaw(Reason reason)
{
    switch (reason) {
    case Reason::translucent:
        return QStringLiteral("translucent");
    case Reason::offscreen:
        return QStringLiteral("offscreen");
    }
    return {};
}

std::optional<OverlaySuppressedWindowSnapshot::Reason> OverlaySuppressedWindowSnapshot::fromRaw(const QString& raw)
{
    if (raw == QLatin1String("translucent"))
        return Reason::translucent;
    if (raw == QLatin1String("offscreen"))
        return Reason::offscreen;
    return std::nullopt;
}

} // namespace vesk
