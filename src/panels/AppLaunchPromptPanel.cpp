#include "panels/AppLaunchPromptPanel.h"

#include "platform/WindowLevel.h"

namespace vesk {

AppLaunchPromptPanel::AppLaunchPromptPanel(const PanelEnvironment& environment)
    : InSessionPanel(Kind{QStringLiteral("AppLaunchPromptPanel"), QStringLiteral("App-launch prompt"), size,
                          windowLevel(), false, false, Placement::centredOnMainScreen},
                     environment)
{
}

int AppLaunchPromptPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 3;
    return level;
}

} // namespace vesk
