#pragma once

#include "platform/OwnWindowRegistering.h"
#include "platform/PointerStateProviding.h"
#include "platform/ScreenProviding.h"

namespace vesk {

// What the in-session panels need of the system: the displays they are
// placed on, the pointer some of them open at, and the window list they
// appear in. It outlives every panel.
struct PanelEnvironment {
    const platform::ScreenProviding& screens;
    const platform::PointerStateProviding& pointer;
    platform::OwnWindowRegistering& ownWindows;
};

} // namespace vesk
