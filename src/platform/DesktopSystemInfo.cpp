#include "platform/DesktopSystemInfo.h"

#include "platform/DefaultsDomains.h"
#include "platform/SimulatedDesktop.h"

namespace vesk::platform {

QString DesktopSystemInfo::hardwareModel() const
{
    return desktop_.hardwareModel();
}

bool DesktopSystemInfo::isDarkAppearance() const
{
    return desktop_.isDarkAppearance();
}

std::optional<QVariantMap> DesktopSystemInfo::persistentDefaultsDomain(const QString& name) const
{
    if (!desktop_.defaults().domainNames().contains(name))
        return std::nullopt;
    return desktop_.defaults().domain(name);
}

} // namespace vesk::platform
