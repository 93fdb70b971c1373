#pragma once

#include "session/SessionServices.h"
#include "session/SessionState.h"

namespace vesk {

class DynamicAllowlistController;
class SessionExits;
class SessionNotices;

// The services' side of a session's stop: clears the handlers the start
// registered and switches every service off, the input services first, then
// the panels, the stage, the app monitor, the overlay, kiosk mode, the desktop
// isolation and the hotkey, so that nothing holds the desktop once it is done.
class SessionTeardown {
public:
    SessionTeardown(const SessionServices& services, SessionState& state, SessionExits& exits, SessionNotices& notices,
                    DynamicAllowlistController& allowlist);

    void deactivateServices();

private:
    const SessionServices& services_;
    SessionState& state_;
    SessionExits& exits_;
    SessionNotices& notices_;
    DynamicAllowlistController& allowlist_;
};

} // namespace vesk
