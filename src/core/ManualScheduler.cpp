#include "core/ManualScheduler.h"

#include <algorithm>

namespace vesk {

ManualScheduler::ManualScheduler(QDateTime start) : start_(std::move(start))
{
}

double ManualScheduler::uptime() const
{
    std::lock_guard lock(mutex_);
    return now_;
}

QDateTime ManualScheduler::now() const
{
    std::lock_guard lock(mutex_);
    return start_.addMSecs(static_cast<qint64>(now_ * 1000.0));
}

void ManualScheduler::setDate(const QDateTime& date)
{
    std::lock_guard lock(mutex_);
    start_ = date.addMSecs(-static_cast<qint64>(now_ * 1000.0));
}

void ManualScheduler::async(std::function<void()> work)
{
    asyncAfter(0, std::move(work));
}

WorkItem ManualScheduler::asyncAfter(double seconds, std::function<void()> work)
{
    WorkItem item = WorkItem::create();
    std::function<void()> guarded = item.guard(std::move(work));
    std::lock_guard lock(mutex_);
    entries_.push_back({now_ + std::max(0.0, seconds), nextSequence_++, item, std::move(guarded)});
    return item;
}

bool ManualScheduler::takeNextDue(double target, Entry& entry)
{
    std::lock_guard lock(mutex_);
    auto next = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
        if (it->due > target)
            continue;
        if (next == entries_.end() || it->due < next->due || (it->due == next->due && it->sequence < next->sequence))
            next = it;
    }
    if (next == entries_.end())
        return false;
    entry = std::move(*next);
    entries_.erase(next);
    now_ = std::max(now_, entry.due);
    return true;
}

void ManualScheduler::advance(double seconds)
{
    double target = 0;
    {
        std::lock_guard lock(mutex_);
        target = now_ + std::max(0.0, seconds);
    }
    // The work runs outside the lock: it may schedule more, from here or from
    // another thread.
    Entry entry;
    while (takeNextDue(target, entry))
        entry.work();
    std::lock_guard lock(mutex_);
    now_ = target;
}

int ManualScheduler::pendingCount() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(
        std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.item.isPending(); }));
}

} // namespace vesk
