#include "core/MainQueueTimer.h"

#include "core/Scheduler.h"

namespace vesk {

MainQueueTimer::MainQueueTimer(Scheduler& scheduler, double interval, std::function<void()> work)
    : scheduler_(scheduler)
    , interval_(interval)
    , work_(std::move(work))
{
}

MainQueueTimer::~MainQueueTimer()
{
    stop();
}

void MainQueueTimer::start()
{
    if (!isRunning())
        bookNextRun();
}

void MainQueueTimer::stop()
{
    next_.cancelAndClear();
}

void MainQueueTimer::bookNextRun()
{
    next_ = scheduler_.asyncAfter(interval_, [this] {
        // A copy, because the work may destroy this timer and the function with it.
        const std::function<void()> work = work_;
        bookNextRun();
        work();
    });
}

} // namespace vesk
