#include "platform/DesktopWindowListProvider.h"

#include "platform/SimulatedDesktop.h"

namespace vesk::platform {

QList<QVariantMap> DesktopWindowListProvider::copyWindowInfo(int options) const
{
    return desktop_.copyWindowInfo(options);
}

} // namespace vesk::platform
