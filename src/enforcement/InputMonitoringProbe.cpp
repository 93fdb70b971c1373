#include "enforcement/InputMonitoringProbe.h"

#include "platform/EventTapping.h"
#include "platform/PermissionsProviding.h"
#include "platform/Workspace.h"

#include <QUrl>

namespace vesk {

bool isInputMonitoringGranted(platform::EventTapping& eventTaps)
{
    const auto tap =
        eventTaps.createTap(platform::TapLocation::session, platform::TapPlacement::headInsert,
                            platform::TapOptions::listenOnly, platform::eventMaskBit(platform::EventType::keyDown),
                            [](int, const platform::InputEvent& event) { return event; });
    if (!tap)
        return false;
    eventTaps.invalidateTap(*tap);
    return true;
}

bool isInputMonitoringAvailable(const platform::PermissionsProviding& permissions, platform::EventTapping& eventTaps)
{
    return permissions.isInputMonitoringGranted() || isInputMonitoringGranted(eventTaps);
}

void openInputMonitoringSettings(platform::Workspace& workspace)
{
    workspace.openURL(
        QUrl(QStringLiteral("x-apple.systempreferences:com.apple.preference.security?Privacy_ListenEvent")));
}

} // namespace vesk
