#include "platform/simulated/DesktopPointer.h"

namespace vesk::platform {

bool DesktopPointer::isMouseButtonDown(int button) const
{
    const auto it = buttons_.find(button);
    return it != buttons_.end() && it->second;
}

} // namespace vesk::platform
