#pragma once

#include "platform/WindowSpec.h"

#include <optional>

namespace vesk::platform {

using EventTapID = int;

// What became of a posted event.
struct EventOutcome {
    bool delivered = false;
    std::optional<EventTapID> swallowedByTap;
    bool swallowedByMonitor = false;
    std::optional<ProcessID> targetPID;
    std::optional<WindowNumber> targetWindow;
};

} // namespace vesk::platform
