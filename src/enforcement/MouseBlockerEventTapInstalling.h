#pragma once

#include "enforcement/MouseBlockerInstalledTap.h"
#include "platform/EventTapping.h"

#include <cstdint>
#include <optional>

namespace vesk {

// Creates and owns the mouse blocker's platform tap.
class MouseBlockerEventTapInstalling {
public:
    virtual ~MouseBlockerEventTapInstalling() = default;
    // An active tap of the login session, at the head, switched on; none when
    // the system refuses one.
    virtual std::optional<MouseBlockerInstalledTap> install(platform::EventTapCallback callback,
                                                            std::uint64_t eventMask) = 0;
    // Switches the tap off and lets go of it.
    virtual void remove(const MouseBlockerInstalledTap& tap) = 0;
    virtual void enable(const MouseBlockerInstalledTap& tap) = 0;
    virtual bool isEnabled(const MouseBlockerInstalledTap& tap) const = 0;
};

} // namespace vesk
