#include "core/QtScheduler.h"

#include <QCoreApplication>
#include <QTimer>

#include <cmath>

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

WorkItem QtScheduler::asyncAfter(double seconds, std::function<void()> work)
{
    WorkItem item = WorkItem::create();
    const int ms = std::max(0, static_cast<int>(std::lround(seconds * 1000.0)));
    // Hop to the main thread first so the timer belongs to it whatever thread asked.
    async([ms, guarded = item.guard(std::move(work))] {
        QTimer::singleShot(ms, Qt::PreciseTimer, QCoreApplication::instance(), guarded);
    });
    return item;
}

} // namespace vesk
