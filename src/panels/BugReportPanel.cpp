#include "panels/BugReportPanel.h"

#include "platform/WindowLevel.h"

namespace vesk {

BugReportPanel::BugReportPanel(const PanelEnvironment& environment)
    : DismissibleSessionPanel(Kind{QStringLiteral("BugReportPanel"), QStringLiteral("Bug report panel"), size,
                                   windowLevel(), true, true, Placement::atPointer, true},
                              environment)
{
    // The form is clipped to rounded corners of radius 14.
    setRoundedShape(QRectF(QPointF(0, 0), toQSizeF(size)), 14);
}

int BugReportPanel::windowLevel()
{
    static const int level = platform::shieldingWindowLevel() + 3;
    return level;
}

} // namespace vesk
