#pragma once

#include <QDateTime>

#include <optional>

namespace vesk {

// Tells a moment without visible allowed windows from allowed windows gone for
// good: no visible window starts a grace period, a window within it cancels
// it, and the first update at or after its end asks once for the fail-open
// stop. It keeps no timer; the caller updates it every frame.
class AllowedWindowsVisibilityGuard {
public:
    struct State {
        enum class Kind { missing, visible, failOpenTriggered };
        Kind kind = Kind::visible;
        QDateTime graceDeadline; // set only while missing

        bool operator==(const State&) const = default;
    };

    struct Action {
        enum class Kind { startedGracePeriod, cancelledGracePeriod, triggerFailOpen };
        Kind kind;
        QDateTime graceDeadline; // set only for startedGracePeriod

        bool operator==(const Action&) const = default;
    };

    explicit AllowedWindowsVisibilityGuard(double gracePeriodSeconds = 1.5);

    // `allowedWindowCount` is the number of visible allowed-window pieces; a
    // negative count is ignored.
    std::optional<Action> update(int allowedWindowCount, const QDateTime& now);
    // Back to `visible`, as at the start and the end of a session.
    void reset() { state_ = State{}; }

    const State& state() const { return state_; }
    double gracePeriod() const { return gracePeriod_; }

private:
    double gracePeriod_;
    State state_;
};

} // namespace vesk
