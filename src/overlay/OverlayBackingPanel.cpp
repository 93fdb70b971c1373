#include "overlay/OverlayBackingPanel.h"

#include "overlay/PanelScreen.h"
#include "platform/WindowLevel.h"

#include <QPalette>

namespace vesk {

OverlayBackingPanel::OverlayBackingPanel(const platform::ScreenInfo& screen, const Rect& quartzFrame,
                                         const platform::ScreenProviding& screens,
                                         platform::OwnWindowRegistering* ownWindows)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , cocoaFrame_(rectFromQRectF(screen.frame))
    , screens_(screens)
    , registration_(ownWindows,
                    overlayPanelWindowSpec(QStringLiteral("Overlay Backing"), windowLevel(), cocoaFrame_, false), this)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setGeometry(toQRectF(quartzFrame).toRect());

    logger_.log(VeskLogLevel::debug, QStringLiteral("Overlay backing panel created for screen: ") + screen.name);
}

int OverlayBackingPanel::windowLevel()
{
    static const int level = platform::windowLevelForKey(platform::WindowLevelKey::desktopIcon) + 1;
    return level;
}

QString OverlayBackingPanel::screenLabel() const
{
    return panelScreenLabel(screens_, cocoaFrame_);
}

void OverlayBackingPanel::orderFrontRegardless()
{
    show();
    raise();
    registration_.orderIn();
}

void OverlayBackingPanel::orderOut()
{
    hide();
    registration_.orderOut();
}

void OverlayBackingPanel::showOnScreen()
{
    orderFrontRegardless();
    logger_.log(VeskLogLevel::info, QStringLiteral("Overlay backing shown on screen: ") + screenLabel());
}

} // namespace vesk
