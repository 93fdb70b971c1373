#include "ui/Ticker.h"

#include <utility>

namespace vesk {

Ticker::Ticker(Scheduler& scheduler, double interval, std::function<void()> onTick)
    : scheduler_(scheduler), interval_(interval), onTick_(std::move(onTick))
{
}

Ticker::~Ticker()
{
    stop();
}

void Ticker::start()
{
    if (!isRunning())
        scheduleNext();
}

void Ticker::stop()
{
    next_.cancelAndClear();
}

void Ticker::setRunning(bool running)
{
    if (running)
        start();
    else
        stop();
}

void Ticker::scheduleNext()
{
    // The next tick is booked before this one runs, so a tick that stops the
    // ticker cancels it.
    next_ = scheduler_.asyncAfter(interval_, [this] {
        scheduleNext();
        onTick_();
    });
}

} // namespace vesk
