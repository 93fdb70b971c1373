#pragma once

#include "platform/Identifiers.h"

#include <optional>

namespace vesk::platform {

// What became of a posted event.
struct EventOutcome {
    bool delivered = false;
    std::optional<EventTapID> swallowedByTap;
    bool swallowedByMonitor = false;
    std::optional<ProcessID> targetPID;
    std::optional<WindowNumber> targetWindow;
};

} // namespace vesk::platform
