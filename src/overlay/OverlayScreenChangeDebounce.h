#pragma once

#include "core/WorkItem.h"
#include "logging/VeskLogger.h"

#include <QMetaObject>
#include <QObject>

#include <functional>
#include <optional>

namespace vesk::platform {
class ScreenChangeObserving;
} // namespace vesk::platform

namespace vesk {

class Scheduler;

// Waits, while started, for the screen changes to settle: every change
// restarts a quiet time, after which the overlay syncs its panels once. A
// settle booked before a later change or a stop finds itself stale.
class OverlayScreenChangeDebounce {
public:
    // Quiet time after the last screen change before the panels are synced.
    static constexpr double quietTime = 0.5;

    // `isActive` tells whether the overlay still runs; `onSettled` syncs it.
    OverlayScreenChangeDebounce(Scheduler& scheduler, const platform::ScreenChangeObserving& screenChanges,
                                VeskLogger logger, std::function<bool()> isActive, std::function<void()> onSettled);
    ~OverlayScreenChangeDebounce();
    OverlayScreenChangeDebounce(const OverlayScreenChangeDebounce&) = delete;
    OverlayScreenChangeDebounce& operator=(const OverlayScreenChangeDebounce&) = delete;

    void start();
    // Drops a pending settle and stops observing.
    void stop();

private:
    void restartQuietTime();
    void settle(int generation);
    void removeObserver();

    Scheduler& scheduler_;
    const platform::ScreenChangeObserving& screenChanges_;
    const VeskLogger logger_;
    const std::function<bool()> isActive_;
    const std::function<void()> onSettled_;
    // The observer's receiver: the connection goes with it.
    QObject receiver_;
    QMetaObject::Connection observer_;
    std::optional<WorkItem> pendingSettle_;
    int generation_ = 0;
};

} // namespace vesk
