#pragma once

#include <atomic>

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

class ManualScheduler;

// Moves the application through virtual time as fast as it can, in short
// slices. Every piece of scheduled work runs at its exact time inside a slice;
// between slices the driver turns the event loop only when something may need
// it: work the workspace's thread handed back (its launch completions), or
// news the run recorded (a timeline entry). Before a step and after it the
// loop always turns. A run is the same every time.
class VirtualTimeDriver {
public:
    static constexpr double sliceSeconds = 0.05;

    VirtualTimeDriver(ManualScheduler& scheduler, platform::SimulatedDesktop& desktop)
        : scheduler_(scheduler)
        , desktop_(desktop)
    {
    }

    // Seconds since the driver's scheduler started.
    double now() const;
    void advance(double seconds);
    // Moves to `time` (seconds since the start); a time already passed runs nothing.
    void advanceTo(double time);
    // Runs what is due now, including what other threads handed back.
    void settle();
    // Something happened that the event loop may have to follow up: the slice
    // that is running ends with a turn of it. Any thread may call this.
    void requestSettle() { settleRequested_ = true; }

private:
    ManualScheduler& scheduler_;
    platform::SimulatedDesktop& desktop_;
    std::atomic<bool> settleRequested_{false};
};

} // namespace vesk
