#include "session/MainWindowScreenID.h"

#include <algorithm>

namespace vesk {

std::optional<StageVeskScreenID> mainWindowScreenID(const std::vector<ApplicationWindowInfo>& windows)
{
    const auto main = std::find_if(windows.begin(), windows.end(),
                                   [](const ApplicationWindowInfo& window) { return !window.isPanel; });
    if (main == windows.end())
        return std::nullopt;
    return main->screen;
}

} // namespace vesk
