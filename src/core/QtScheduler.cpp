#include "core/QtScheduler.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>
#include <limits>

namespace vesk {

QtScheduler::QtScheduler()
{
    elapsed_.start();
}

double QtScheduler::uptime() const
{
    return static_cast<double>(elapsed_.nsecsElapsed()) / 1e9;
}

void QtScheduler::async(std::function<void()> work)
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), std::move(work), Qt::QueuedConnection);
}

namespace {

// A Qt timer takes at most INT_MAX milliseconds (24.8 days); a longer delay
// runs through as many full timers as it needs. Main thread only.
void startTimer(double seconds, std::function<void()> work)
{
    constexpr double longestTimerSeconds = std::numeric_limits<int>::max() / 1000.0;
    if (seconds > longestTimerSeconds) {
        QTimer::singleShot(std::numeric_limits<int>::max(), Qt::PreciseTimer, QCoreApplication::instance(),
                           [seconds, work = std::move(work)]() mutable {
                               startTimer(seconds - longestTimerSeconds, std::move(work));
                           });
        return;
    }
    const int ms = std::isnan(seconds) ? 0 : std::max(0, static_cast<int>(std::lround(seconds * 1000.0)));
    QTimer::singleShot(ms, Qt::PreciseTimer, QCoreApplication::instance(), std::move(work));
}

} // namespace

WorkItem QtScheduler::asyncAfter(double seconds, std::function<void()> work)
{
    WorkItem item = WorkItem::create();
    // Hop to the main thread first so the timer belongs to it whatever thread asked.
    async([seconds, guarded = item.guard(std::move(work))] { startTimer(seconds, guarded); });
    return item;
}

} // namespace vesk
