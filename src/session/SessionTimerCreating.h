#pragma once

#include "session/SessionTimerControlling.h"

#include <functional>
#include <memory>

namespace vesk {

// Makes the repeating timer that drives the session countdown.
class SessionTimerCreating {
public:
    virtual ~SessionTimerCreating() = default;
    // First call one interval after this call, then every interval. The handler
    // runs on the timer's own queue, not on the main thread.
    virtual std::unique_ptr<SessionTimerControlling> makeTimer(double intervalSeconds,
                                                               std::function<void()> handler) = 0;
};

} // namespace vesk
