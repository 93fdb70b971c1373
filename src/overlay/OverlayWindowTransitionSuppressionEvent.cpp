#include "overlay/OverlayWindowTransitionSuppressionEvent.h"

namespace vesk {

QString OverlayWindowTransitionSuppressionEvent::toRaw(Reason reason)
{
    switch (reason) {
    case Reason::disappeared:
        return QStringLiteral("disappeared");
    case Reason::shrunk:
        return QStringLiteral("shrunk");
    case Reason::windowControlClick:
        return QStringLiteral("windowControlClick");
    case Reason::restoring:
        return QStringLiteral("restoring");
    }
    return {};
}

std::optional<OverlayWindowTransitionSuppressionEvent::Reason>
OverlayWindowTransitionSuppressionEvent::fromRaw(const QString& raw)
{
    for (Reason reason : {Reason::disappeared, Reason::shrunk, Reason::windowControlClick, Reason::restoring}) {
        if (toRaw(reason) == raw)
            return reason;
    }
    return std::nullopt;
}

} // namespace vesk
