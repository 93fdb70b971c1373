#include "platform/simulated/DesktopWindowListProvider.h"

#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

QList<QVariantMap> DesktopWindowListProvider::copyWindowInfo(int options) const
{
    return desktop_.copyWindowInfo(options);
}

} // namespace vesk::platform
