#pragma once

#include "core/Scheduler.h"

#include <QElapsedTimer>

namespace vesk {

// The application's main queue, on the Qt event loop of the main thread.
class QtScheduler final : public Scheduler {
public:
    QtScheduler();

    double uptime() const override;
    void async(std::function<void()> work) override;
    WorkItem asyncAfter(double seconds, std::function<void()> work) override;

private:
    QElapsedTimer elapsed_;
};

} // namespace vesk
