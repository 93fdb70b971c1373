#include "panels/SessionTransitionPanel.h"

#include "platform/WindowLevel.h"


namespace vesk {

namespace {

PanelWindow::Configuration transitionPanelConfiguration()
{
    PanelWindow::Configuration configuration;
    configuration.title = QStringLiteral("Session Transition");
    configuration.level = SessionTransitionPanel::windowLevel();
    configuration.styleMask = PanelWindow::nonactivatingPanelMask;
    configuration.opaque = true;
    return configuration;
}

} // namespace

SessionTransitionPanel::SessionTransitionPanel(const platform::ScreenInfo& screen,
                                               const platform::ScreenProviding& screens,
                                               platform::OwnWindowRegistering* ownWindows)
    : PanelWindow(transitionPanelConfiguration(), rectFromQRectF(screen.frame), screens, ownWindows)
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Session transition panel created — screen=") + screen.name);
}

int SessionTransitionPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 3;
    return level;
}

} // namespace vesk
