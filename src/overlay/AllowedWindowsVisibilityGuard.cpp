#include "overlay/AllowedWindowsVisibilityGuard.h"

#include <cmath>

namespace vesk {

AllowedWindowsVisibilityGuard::AllowedWindowsVisibilityGuard(double gracePeriodSeconds)
    : gracePeriod_(gracePeriodSeconds)
{
}

std::optional<AllowedWindowsVisibilityGuard::Action> AllowedWindowsVisibilityGuard::update(int allowedWindowCount,
                                                                                           const QDateTime& now)
{
    using StateKind = State::Kind;
    using ActionKind = Action::Kind;

    if (allowedWindowCount < 0)
        return std::nullopt;

    if (allowedWindowCount > 0) {
        const bool wasMissing = state_.kind == StateKind::missing;
        state_ = State{};
        if (wasMissing)
            return Action{ActionKind::cancelledGracePeriod, {}};
        return std::nullopt;
    }

    switch (state_.kind) {
    case StateKind::visible: {
        const QDateTime deadline = now.addMSecs(std::llround(gracePeriod_ * 1000));
        state_ = State{StateKind::missing, deadline};
        return Action{ActionKind::startedGracePeriod, deadline};
    }
    case StateKind::missing:
        if (now >= state_.graceDeadline) {
            state_ = State{StateKind::failOpenTriggered, {}};
            return Action{ActionKind::triggerFailOpen, {}};
        }
        return std::nullopt;
    case StateKind::failOpenTriggered:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace vesk
