#include "platform/ManualScheduler.h"

#include <algorithm>

namespace vesk {

ManualScheduler::ManualScheduler(QDateTime start)
    : start_(std::move(start))
{
}

QDateTime ManualScheduler::now() const
{
    return start_.addMSecs(static_cast<qint64>(now_ * 1000.0));
}

void ManualScheduler::setDate(const QDateTime& date)
{
    start_ = date.addMSecs(-static_cast<qint64>(now_ * 1000.0));
}

void ManualScheduler::async(std::function<void()> work)
{
    asyncAfter(0, std::move(work));
}

WorkItem ManualScheduler::asyncAfter(double seconds, std::function<void()> work)
{
    WorkItem item = WorkItem::create();
    entries_.push_back({now_ + std::max(0.0, seconds), nextSequence_++, item, item.guard(std::move(work))});
    return item;
}

void ManualScheduler::advance(double seconds)
{
    const double target = now_ + std::max(0.0, seconds);
    for (;;) {
        auto next = entries_.end();
        for (auto it = entries_.begin(); it != entries_.end(); ++it) {
            if (it->due > target)
                continue;
            if (next == entries_.end() || it->due < next->due
                || (it->due == next->due && it->sequence < next->sequence))
                next = it;
        }
        if (next == entries_.end())
            break;
        Entry entry = std::move(*next);
        entries_.erase(next);
        now_ = std::max(now_, entry.due);
        entry.work();
    }
    now_ = target;
}

int ManualScheduler::pendingCount() const
{
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(),
                                          [](const Entry& e) { return e.item.isPending(); }));
}

} // namespace vesk
