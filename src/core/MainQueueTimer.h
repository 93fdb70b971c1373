#pragma once

#include "core/WorkItem.h"

#include <functional>

namespace vesk {

class Scheduler;

// A repeating timer on the main queue: once started, runs its work every
// `interval` seconds of the scheduler's time until it is stopped or
// destroyed. The next run is booked before the work runs, so the work may
// stop the timer, or destroy it.
class MainQueueTimer {
public:
    MainQueueTimer(Scheduler& scheduler, double interval, std::function<void()> work);
    ~MainQueueTimer();
    MainQueueTimer(const MainQueueTimer&) = delete;
    MainQueueTimer& operator=(const MainQueueTimer&) = delete;

    // Does nothing while the timer runs.
    void start();
    void stop();
    bool isRunning() const { return next_.isPending(); }
    double interval() const { return interval_; }

private:
    void bookNextRun();

    Scheduler& scheduler_;
    double interval_;
    std::function<void()> work_;
    WorkItem next_;
};

} // namespace vesk
