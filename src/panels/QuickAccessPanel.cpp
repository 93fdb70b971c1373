#include "panels/QuickAccessPanel.h"

#include "platform/WindowLevel.h"

namespace vesk {

QuickAccessPanel::QuickAccessPanel(const PanelEnvironment& environment)
    : DismissibleSessionPanel(Kind{QStringLiteral("QuickAccessPanel"), QStringLiteral("Quick access panel"), size,
                                   windowLevel(), true, true, Placement::atPointer},
                              environment)
{
}

QString QuickAccessPanel::shownLogSuffix() const
{
    return QStringLiteral(", canBecomeKey=true");
}

int QuickAccessPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 3;
    return level;
}

} // namespace vesk
