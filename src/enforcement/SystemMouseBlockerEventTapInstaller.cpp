#include "enforcement/SystemMouseBlockerEventTapInstaller.h"

namespace vesk {

SystemMouseBlockerEventTapInstaller::SystemMouseBlockerEventTapInstaller(platform::EventTapping& eventTaps)
    : eventTaps_(eventTaps)
{
}

std::optional<MouseBlockerInstalledTap>
SystemMouseBlockerEventTapInstaller::install(platform::EventTapCallback callback, std::uint64_t eventMask)
{
    const auto tap = eventTaps_.createTap(platform::TapLocation::session, platform::TapPlacement::headInsert,
                                          platform::TapOptions::defaultFilter, eventMask, std::move(callback));
    if (!tap) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to create mouse blocker CGEventTap — fail-open, clicks not blocked"));
        return std::nullopt;
    }
    eventTaps_.enableTap(*tap, true);
    return MouseBlockerInstalledTap{*tap};
}

void SystemMouseBlockerEventTapInstaller::remove(const MouseBlockerInstalledTap& tap)
{
    eventTaps_.enableTap(tap.tap, false);
    eventTaps_.invalidateTap(tap.tap);
}

void SystemMouseBlockerEventTapInstaller::enable(const MouseBlockerInstalledTap& tap)
{
    eventTaps_.enableTap(tap.tap, true);
}

bool SystemMouseBlockerEventTapInstaller::isEnabled(const MouseBlockerInstalledTap& tap) const
{
    return eventTaps_.isTapEnabled(tap.tap);
}

} // namespace vesk
