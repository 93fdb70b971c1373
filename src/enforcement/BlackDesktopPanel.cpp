#include "enforcement/BlackDesktopPanel.h"

#include "overlay/DisplayGeometry.h"
#include "overlay/PanelScreen.h"
#include "platform/WindowLevel.h"

#include <QPalette>

namespace vesk {

BlackDesktopPanel::BlackDesktopPanel(const platform::ScreenInfo& screen, const platform::ScreenProviding& screens,
                                     platform::OwnWindowRegistering* ownWindows)
    // Staying at the bottom keeps it behind every application window where a
    // window manager stacks the windows (above a desktop window's icons).
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput
                           | Qt::WindowStaysOnBottomHint)
    , cocoaFrame_(rectFromQRectF(screen.frame))
    , screens_(screens)
    , registration_(ownWindows,
                    overlayPanelWindowSpec(QStringLiteral("Black Desktop"), windowLevel(), cocoaFrame_, true), this)
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_DeleteOnClose, false);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    applyGeometry();
    logger_.log(VeskLogLevel::debug, QStringLiteral("BlackDesktopPanel created for screen: ") + screen.name);
}

int BlackDesktopPanel::windowLevel()
{
    static const int level = platform::windowLevelForKey(platform::WindowLevelKey::desktopIcon);
    return level;
}

// The widget's geometry is top-left: the frame goes through the display it covers.
void BlackDesktopPanel::applyGeometry()
{
    const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(screens_);
    const Rect quartzFrame =
        geometry ? DisplayGeometry::quartzRect(cocoaFrame_, geometry->displayFrameForCocoaRect(cocoaFrame_))
                 : cocoaFrame_;
    setGeometry(toQRectF(quartzFrame).toRect());
}

void BlackDesktopPanel::showOnScreen()
{
    QWidget::show();
    raise();
    registration_.orderIn();
    logger_.log(VeskLogLevel::info, QStringLiteral("Black desktop panel shown on screen: ") + screenLabel());
}

void BlackDesktopPanel::orderOut()
{
    hide();
    registration_.orderOut();
}

void BlackDesktopPanel::setFrame(const Rect& cocoaFrame)
{
    cocoaFrame_ = cocoaFrame;
    applyGeometry();
    registration_.setFrame(cocoaFrame_);
    update();
}

QString BlackDesktopPanel::screenLabel() const
{
    return panelScreenLabel(screens_, cocoaFrame_);
}

} // namespace vesk
