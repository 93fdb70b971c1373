#pragma once

#include "core/RawValue.h"

#include <QString>

#include <array>

namespace vesk {

// Where an allowed application's windows are, as the session core and the
// stage decide on it.
enum class AllowedWindowSpaceState { notRunning, hidden, onActiveSpace, minimized, onOtherSpace, noWindows };

QString toRaw(AllowedWindowSpaceState state);

template <>
struct EnumCases<AllowedWindowSpaceState> {
    static constexpr std::array values{AllowedWindowSpaceState::notRunning,    AllowedWindowSpaceState::hidden,
                                       AllowedWindowSpaceState::onActiveSpace, AllowedWindowSpaceState::minimized,
                                       AllowedWindowSpaceState::onOtherSpace,  AllowedWindowSpaceState::noWindows};
};

} // namespace vesk
