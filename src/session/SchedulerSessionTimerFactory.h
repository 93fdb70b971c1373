#pragma once

#include "session/SessionTimerCreating.h"

namespace vesk {

class Scheduler;

// Countdown timers on the main-queue scheduler. The scripted run uses them,
// so that the countdown follows the run's virtual time like everything else.
class SchedulerSessionTimerFactory final : public SessionTimerCreating {
public:
    explicit SchedulerSessionTimerFactory(Scheduler& scheduler) : scheduler_(scheduler) { }

    std::unique_ptr<SessionTimerControlling> makeTimer(double intervalSeconds, std::function<void()> handler) override;

private:
    Scheduler& scheduler_;
};

} // namespace vesk
