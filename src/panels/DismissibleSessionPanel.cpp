#include "panels/DismissibleSessionPanel.h"

namespace vesk {

DismissibleSessionPanel::DismissibleSessionPanel(Kind kind, const PanelEnvironment& environment)
    : InSessionPanel(std::move(kind), environment)
{
}

void DismissibleSessionPanel::show(QWidget* view, std::function<void()> onDismiss)
{
    onDismiss_ = std::move(onDismiss);
    showContent(view, shownLogSuffix());
}

void DismissibleSessionPanel::dismissIfClickOutside(Point cocoaPoint)
{
    if (isVisible() && !frame().contains(cocoaPoint) && onDismiss_)
        dismissByUser(QStringLiteral("clickOutside"));
}

void DismissibleSessionPanel::cancelOperation()
{
    if (onDismiss_)
        dismissByUser(QStringLiteral("escapeKey"));
}

void DismissibleSessionPanel::dismissByUser(const QString& reason)
{
    logger().log(VeskLogLevel::info,
                 kind().shownName + QStringLiteral(" dismissing via user interaction — reason=") + reason);
    // The callback orders this panel out and may drop it: keep it until the call returns.
    const std::function<void()> onDismiss = onDismiss_;
    onDismiss();
}

} // namespace vesk
