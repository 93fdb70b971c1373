#pragma once

#include "core/MainQueueTimer.h"
#include "logging/VeskLogger.h"

#include <QString>

#include <functional>
#include <optional>

namespace vesk {

class Scheduler;

// The 2.0 s timer with which an input service looks after its event tap: the
// system switches a tap off when its callback is slow or the user interferes,
// and a tap refused for a missing permission may be installed once the
// permission is there. The service's own check runs on the main queue from
// the first interval after start() until stop().
class EventTapHealthCheck {
public:
    static constexpr double interval = 2.0;

    // `subject` names the tap in the "health check started" log line; without
    // one the check starts silently.
    EventTapHealthCheck(Scheduler& scheduler, VeskLogger logger, std::optional<QString> subject,
                        std::function<void()> check);

    // Does nothing while the check runs.
    void start();
    void stop();
    bool isRunning() const { return timer_.isRunning(); }

private:
    MainQueueTimer timer_;
    const VeskLogger logger_;
    const std::optional<QString> subject_;
};

} // namespace vesk
