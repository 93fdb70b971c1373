#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/OwnWindowRegistration.h"
#include "platform/ScreenProviding.h"

#include <QWidget>

namespace vesk {

// The opaque black sheet of one display just above the desktop icons and
// below every application window: it hides the wallpaper and the icons and
// takes the clicks that reach the desktop.
class OverlayBackingPanel : public QWidget {
    Q_OBJECT
public:
    OverlayBackingPanel(const platform::ScreenInfo& screen, const Rect& quartzFrame,
                        const platform::ScreenProviding& screens, platform::OwnWindowRegistering* ownWindows);

    // One level above the desktop icons.
    static int windowLevel();

    const Rect& cocoaFrame() const { return cocoaFrame_; }
    // The name of the display the panel is on, "unknown" when on none.
    QString screenLabel() const;

    void orderFrontRegardless();
    void orderOut();
    // Orders the panel in and logs it with its display's name.
    void showOnScreen();

    const VeskLogger& logger() const { return logger_; }
    // The panel's number in the desktop's window list once it was ordered in.
    std::optional<quint32> windowNumber() const { return registration_.windowNumber(); }

private:
    VeskLogger logger_{QStringLiteral("OverlayBackingPanel")};
    Rect cocoaFrame_;
    const platform::ScreenProviding& screens_;
    OwnWindowRegistration registration_;
};

} // namespace vesk
