#pragma once

#include "platform/InputEvent.h"

#include <xcb/xcb.h>

#include <cstdint>

namespace vesk::platform {

// An X event's modifier state as the services' modifier flags: Shift, Control,
// Alt (Mod1) as Option and Super (Mod4) as Command, as a PC keyboard maps them.
inline std::uint64_t eventFlagsOfModifiers(std::uint16_t state)
{
    std::uint64_t flags = 0;
    if (state & XCB_MOD_MASK_SHIFT)
        flags |= EventFlag::shift;
    if (state & XCB_MOD_MASK_CONTROL)
        flags |= EventFlag::control;
    if (state & XCB_MOD_MASK_1)
        flags |= EventFlag::option;
    if (state & XCB_MOD_MASK_4)
        flags |= EventFlag::command;
    return flags;
}

} // namespace vesk::platform
