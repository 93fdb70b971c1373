#include "overlay/OverlayScreenChangeDebounce.h"

#include "core/Scheduler.h"
#include "platform/ScreenChangeObserving.h"

namespace vesk {

OverlayScreenChangeDebounce::OverlayScreenChangeDebounce(Scheduler& scheduler,
                                                         const platform::ScreenChangeObserving& screenChanges,
                                                         VeskLogger logger, std::function<bool()> isActive,
                                                         std::function<void()> onSettled)
    : scheduler_(scheduler)
    , screenChanges_(screenChanges)
    , logger_(std::move(logger))
    , isActive_(std::move(isActive))
    , onSettled_(std::move(onSettled))
{
}

OverlayScreenChangeDebounce::~OverlayScreenChangeDebounce()
{
    if (pendingSettle_)
        pendingSettle_->cancel();
}

void OverlayScreenChangeDebounce::start()
{
    removeObserver();
    observer_ = screenChanges_.observeScreenParameters(&receiver_, [this] { restartQuietTime(); });
}

void OverlayScreenChangeDebounce::stop()
{
    if (pendingSettle_) {
        pendingSettle_->cancel();
        pendingSettle_.reset();
    }
    ++generation_;
    removeObserver();
}

void OverlayScreenChangeDebounce::removeObserver()
{
    if (observer_)
        QObject::disconnect(observer_);
    observer_ = {};
}

void OverlayScreenChangeDebounce::restartQuietTime()
{
    if (!isActive_())
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Screen parameters changed — debouncing panel sync"));
    if (pendingSettle_)
        pendingSettle_->cancel();
    const int generation = ++generation_;
    pendingSettle_ = scheduler_.asyncAfter(quietTime, [this, generation] { settle(generation); });
}

void OverlayScreenChangeDebounce::settle(int generation)
{
    if (!isActive_()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Screen change debounce fired but overlay is no longer active — skipping"));
        return;
    }
    if (generation_ != generation) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping stale screen change debounce — generation=%1").arg(generation));
        return;
    }
    onSettled_();
    if (generation_ == generation)
        pendingSettle_.reset();
}

} // namespace vesk
