#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"

#include <functional>

namespace vesk {

// A periodic timeline on the injected scheduler: while running it calls
// `onTick` every `interval` seconds, first one interval after start(). Views
// repaint from it and read the clock when they paint. Stopping it, or
// destroying it, cancels the next tick. Main thread only.
class Ticker {
public:
    Ticker(Scheduler& scheduler, double interval, std::function<void()> onTick);
    ~Ticker();
    Ticker(const Ticker&) = delete;
    Ticker& operator=(const Ticker&) = delete;

    void start();
    void stop();
    // start() or stop(); a running ticker keeps its phase.
    void setRunning(bool running);
    bool isRunning() const { return next_.isPending(); }
    double interval() const { return interval_; }

private:
    void scheduleNext();

    Scheduler& scheduler_;
    double interval_;
    std::function<void()> onTick_;
    WorkItem next_;
};

} // namespace vesk
