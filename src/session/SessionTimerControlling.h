#pragma once

namespace vesk {

// The running countdown timer.
class SessionTimerControlling {
public:
    virtual ~SessionTimerControlling() = default;
    // No handler call starts after this returns; one already running finishes.
    virtual void cancel() = 0;
};

} // namespace vesk
