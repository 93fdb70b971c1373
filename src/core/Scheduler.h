#pragma once

#include "core/WorkItem.h"

#include <functional>

namespace vesk {

// The main queue: every delay of the system goes through one injected
// scheduler. Work always runs on the main thread; async and asyncAfter may be
// called from any thread.
class Scheduler {
public:
    virtual ~Scheduler() = default;

    // Seconds on a monotonic clock (the media time the per-frame code reads).
    virtual double uptime() const = 0;
    virtual void async(std::function<void()> work) = 0;
    // Items due at the same time run in the order they were scheduled.
    virtual WorkItem asyncAfter(double seconds, std::function<void()> work) = 0;
};

} // namespace vesk
