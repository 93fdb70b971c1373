#pragma once

#include "platform/Identifiers.h"

namespace vesk {

// The mouse blocker's live event tap.
struct MouseBlockerInstalledTap {
    platform::EventTapID tap = 0;

    bool operator==(const MouseBlockerInstalledTap&) const = default;
};

} // namespace vesk
