#pragma once

#include "logging/VeskLogger.h"
#include "overlay/PanelWindow.h"

namespace vesk {

// The opaque black cover of one display while a session is entered: the
// display's full frame, menu bar and Dock area included, above the overlay,
// the HUD and the stage bars, taking every click that lands on it.
class SessionTransitionPanel final : public PanelWindow {
    Q_OBJECT
public:
    SessionTransitionPanel(const platform::ScreenInfo& screen, const platform::ScreenProviding& screens,
                           platform::OwnWindowRegistering* ownWindows);

    // Three above the shielding level, read once.
    static int windowLevel();

    const VeskLogger& logger() const { return logger_; }

private:
    VeskLogger logger_{QStringLiteral("SessionTransitionPanel")};
};

} // namespace vesk
