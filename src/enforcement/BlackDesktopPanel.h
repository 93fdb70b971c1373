#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/OwnWindowRegistration.h"
#include "platform/ScreenProviding.h"

#include <QWidget>

namespace vesk {

// The opaque black sheet over one display's desktop during a session: at the
// level of the desktop icons, in front of the desktop picture and the icons
// and behind every application window, on every Space, never key, letting
// clicks through to the desktop below it. It lists itself in the window list
// while ordered in.
class BlackDesktopPanel : public QWidget {
    Q_OBJECT
public:
    BlackDesktopPanel(const platform::ScreenInfo& screen, const platform::ScreenProviding& screens,
                      platform::OwnWindowRegistering* ownWindows);

    // The desktop-icon level, the same for every panel.
    static int windowLevel();

    // Orders the panel in, in front of its level, and logs it with its screen's name.
    void showOnScreen();
    void orderOut();
    // Covers a display whose frame changed (bottom-left).
    void setFrame(const Rect& cocoaFrame);
    const Rect& frame() const { return cocoaFrame_; }
    // The name of the display the panel is on, "unknown" when on none.
    QString screenLabel() const;

    const VeskLogger& logger() const { return logger_; }
    std::optional<quint32> windowNumber() const { return registration_.windowNumber(); }

private:
    void applyGeometry();

    VeskLogger logger_{QStringLiteral("BlackDesktopPanel")};
    Rect cocoaFrame_;
    const platform::ScreenProviding& screens_;
    OwnWindowRegistration registration_;
};

} // namespace vesk
