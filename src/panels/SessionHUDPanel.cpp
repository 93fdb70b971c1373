#include "panels/SessionHUDPanel.h"

#include "platform/WindowLevel.h"

namespace vesk {

SessionHUDPanel::SessionHUDPanel(const PanelEnvironment& environment)
    : InSessionPanel(Kind{QStringLiteral("SessionHUDPanel"), QStringLiteral("Session HUD"), size, windowLevel(), false,
                          true, Placement::topRightOfMainScreen, true},
                     environment)
{
}

int SessionHUDPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 2;
    return level;
}

} // namespace vesk
