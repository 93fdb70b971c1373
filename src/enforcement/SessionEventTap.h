#pragma once

#include "platform/EventTapping.h"

#include <cstdint>
#include <memory>

namespace vesk {

// One active event tap of the login session, inserted at the head, switched
// on: the tap that each input service installs. It takes the tap out of the
// system when it goes away. Its callback belongs to the system's tap, so the
// callback may drop this object while it runs.
class SessionEventTap {
public:
    // None when the system refuses the tap (without Input Monitoring, say).
    static std::unique_ptr<SessionEventTap> install(platform::EventTapping& eventTaps, std::uint64_t eventMask,
                                                    platform::EventTapCallback callback);
    ~SessionEventTap();
    SessionEventTap(const SessionEventTap&) = delete;
    SessionEventTap& operator=(const SessionEventTap&) = delete;

    platform::EventTapID id() const { return id_; }
    bool isEnabled() const;
    // Switches the tap on again after the system switched it off; whether it is on now.
    bool enable();

    // The tap-disabled notices the system sends to a tap's callback.
    static bool isDisabledNotice(int type);

private:
    SessionEventTap(platform::EventTapping& eventTaps, platform::EventTapID id);

    platform::EventTapping& eventTaps_;
    const platform::EventTapID id_;
};

} // namespace vesk
