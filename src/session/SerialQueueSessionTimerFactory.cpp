#include "session/SerialQueueSessionTimerFactory.h"

#include "core/SerialQueue.h"

#include <chrono>
#include <cmath>

namespace vesk {

namespace {

class SerialQueueSessionTimer final : public SessionTimerControlling {
public:
    SerialQueueSessionTimer(std::chrono::milliseconds interval, std::function<void()> handler)
        : queue_(SerialQueueSessionTimerFactory::queueLabel)
        , timer_(queue_.scheduleRepeating(interval, std::move(handler)))
    {
    }

    // Releasing the handle also stops the timer: a timer nobody can cancel any
    // more would keep its queue and thread alive for the rest of the process.
    ~SerialQueueSessionTimer() override { timer_.reset(); }

    void cancel() override
    {
        timer_->cancel();
        // Waits for a handler call that is running right now, so that none
        // starts or runs after cancel() returns.
        queue_.sync([] {});
    }

private:
    SerialQueue queue_;
    std::unique_ptr<RepeatingTimer> timer_;
};

} // namespace

std::unique_ptr<SessionTimerControlling> SerialQueueSessionTimerFactory::makeTimer(double intervalSeconds,
                                                                                   std::function<void()> handler)
{
    const auto interval = std::chrono::milliseconds(std::max<long long>(1, std::llround(intervalSeconds * 1000.0)));
    return std::make_unique<SerialQueueSessionTimer>(interval, std::move(handler));
}

} // namespace vesk
