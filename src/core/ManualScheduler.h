#pragma once

#include "core/Clock.h"
#include "core/Scheduler.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace vesk {

// A scheduler and clock in virtual time for tests: nothing runs until the test
// advances time, and then everything that falls due runs in order, including
// work scheduled by work that runs.
//
// async and asyncAfter may be called from any thread, as on the real main
// queue; the work still runs only inside advance(), on the thread that calls it.
class ManualScheduler final : public Scheduler, public Clock {
public:
    explicit ManualScheduler(QDateTime start = QDateTime(QDate(2026, 1, 5), QTime(9, 0), Qt::UTC));

    double uptime() const override;
    QDateTime now() const override;
    void async(std::function<void()> work) override;
    WorkItem asyncAfter(double seconds, std::function<void()> work) override;

    // Runs everything due within the next `seconds`, then leaves the clock there.
    void advance(double seconds);
    // Runs what is due now without moving the clock.
    void runPending() { advance(0); }
    // Scheduled items not yet run or cancelled.
    int pendingCount() const;
    void setDate(const QDateTime& date);

private:
    struct Entry {
        double due = 0;
        std::uint64_t sequence = 0;
        WorkItem item;
        std::function<void()> work;
    };

    // Takes the earliest entry due by `target` out of the list; false when none is.
    bool takeNextDue(double target, Entry& entry);

    mutable std::mutex mutex_;
    QDateTime start_;
    double now_ = 0;
    std::uint64_t nextSequence_ = 0;
    std::vector<Entry> entries_;
};

} // namespace vesk
