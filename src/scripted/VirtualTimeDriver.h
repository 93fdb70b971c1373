#pragma once

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

class ManualScheduler;

// Moves the application through virtual time as fast as it can: in short
// slices, and after each slice it lets the work that other threads handed
// back (the workspace's launch completions, Qt's own events) run before time
// goes on, so a run is the same every time.
class VirtualTimeDriver {
public:
    static constexpr double sliceSeconds = 0.05;

    VirtualTimeDriver(ManualScheduler& scheduler, platform::SimulatedDesktop& desktop)
        : scheduler_(scheduler), desktop_(desktop)
    {
    }

    // Seconds since the driver's scheduler started.
    double now() const;
    void advance(double seconds);
    // Moves to `time` (seconds since the start); a time already passed runs nothing.
    void advanceTo(double time);
    // Runs what is due now, including what other threads handed back.
    void settle();

private:
    ManualScheduler& scheduler_;
    platform::SimulatedDesktop& desktop_;
};

} // namespace vesk
