#include "platform/simulated/DesktopSystemInfo.h"

#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

QString DesktopSystemInfo::hardwareModel() const
{
    return desktop_.hardwareModel();
}

bool DesktopSystemInfo::isDarkAppearance() const
{
    return desktop_.isDarkAppearance();
}

} // namespace vesk::platform
