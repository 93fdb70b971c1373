#include "platform/simulated/DesktopPermissions.h"

namespace vesk::platform {

bool DesktopPermissions::promptForAccessibility()
{
    ++accessibilityPromptCount_;
    if (grantsOnRequest_)
        accessibilityTrusted_ = true;
    return accessibilityTrusted_;
}

bool DesktopPermissions::requestInputMonitoring()
{
    ++inputMonitoringRequestCount_;
    if (grantsOnRequest_)
        inputMonitoringGranted_ = true;
    return isInputMonitoringGranted();
}

} // namespace vesk::platform
