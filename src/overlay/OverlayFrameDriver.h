#pragma once

#include "core/WorkItem.h"
#include "logging/VeskLogger.h"

#include <functional>

namespace vesk::platform {
class ScreenProviding;
} // namespace vesk::platform

namespace vesk {

class Scheduler;

// Runs the overlay's tick once a frame while started: display-synced while
// there is a main screen, else by a timer at the same 60 fps.
class OverlayFrameDriver {
public:
    // Seconds between two frames of the display link (and of the timer fallback).
    static constexpr double frameInterval = 1.0 / 60.0;

    OverlayFrameDriver(Scheduler& scheduler, const platform::ScreenProviding& screens, VeskLogger logger,
                       std::function<void()> onFrame);
    ~OverlayFrameDriver();
    OverlayFrameDriver(const OverlayFrameDriver&) = delete;
    OverlayFrameDriver& operator=(const OverlayFrameDriver&) = delete;

    // Starts the frames afresh, also while they run.
    void start();
    void stop();
    bool isRunning() const { return source_ != Source::none; }

private:
    enum class Source { none, displayLink, timer };

    void startFrames(Source source);
    void scheduleNextFrame();

    Scheduler& scheduler_;
    const platform::ScreenProviding& screens_;
    const VeskLogger logger_;
    const std::function<void()> onFrame_;
    Source source_ = Source::none;
    WorkItem nextFrame_;
};

} // namespace vesk
