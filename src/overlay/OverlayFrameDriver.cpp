#include "overlay/OverlayFrameDriver.h"

#include "core/Scheduler.h"
#include "platform/ScreenProviding.h"

namespace vesk {

OverlayFrameDriver::OverlayFrameDriver(Scheduler& scheduler, const platform::ScreenProviding& screens,
                                       VeskLogger logger, std::function<void()> onFrame)
    : scheduler_(scheduler)
    , screens_(screens)
    , logger_(std::move(logger))
    , onFrame_(std::move(onFrame))
{
}

OverlayFrameDriver::~OverlayFrameDriver()
{
    nextFrame_.cancel();
}

void OverlayFrameDriver::start()
{
    if (isRunning())
        stop();
    if (!screens_.mainScreen()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("No main screen — falling back to Timer for window tracking"));
        startFrames(Source::timer);
        logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking started via Timer fallback at 60fps"));
        return;
    }
    startFrames(Source::displayLink);
    logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking started via CADisplayLink (display-synced)"));
}

void OverlayFrameDriver::stop()
{
    nextFrame_.cancelAndClear();
    source_ = Source::none;
    logger_.log(VeskLogLevel::debug, QStringLiteral("Window tracking stopped"));
}

void OverlayFrameDriver::startFrames(Source source)
{
    source_ = source;
    scheduleNextFrame();
}

void OverlayFrameDriver::scheduleNextFrame()
{
    nextFrame_ = scheduler_.asyncAfter(frameInterval, [this] {
        if (source_ == Source::none)
            return;
        // The next frame is booked first, so that a tick that stops the
        // frames (a handler deactivating the overlay) cancels it.
        scheduleNextFrame();
        onFrame_();
    });
}

} // namespace vesk
