#include "session/SchedulerSessionTimerFactory.h"

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "session/SessionTimerControlling.h"

namespace vesk {

namespace {

class SchedulerSessionTimer final : public SessionTimerControlling {
public:
    SchedulerSessionTimer(Scheduler& scheduler, double interval, std::function<void()> handler)
        : state_(std::make_shared<State>(State{scheduler, interval, std::move(handler), {}, false}))
    {
        scheduleNext(state_);
    }

    ~SchedulerSessionTimer() override { cancel(); }

    void cancel() override
    {
        state_->cancelled = true;
        state_->pending.cancel();
    }

private:
    struct State {
        Scheduler& scheduler;
        double interval;
        std::function<void()> handler;
        WorkItem pending;
        bool cancelled;
    };

    static void scheduleNext(const std::shared_ptr<State>& state)
    {
        std::weak_ptr<State> weak = state;
        state->pending = state->scheduler.asyncAfter(state->interval, [weak] {
            const auto ticking = weak.lock();
            if (!ticking || ticking->cancelled)
                return;
            // The next tick is due one interval after this one, whatever the handler does.
            scheduleNext(ticking);
            ticking->handler();
        });
    }

    std::shared_ptr<State> state_;
};

} // namespace

std::unique_ptr<SessionTimerControlling> SchedulerSessionTimerFactory::makeTimer(double intervalSeconds,
                                                                                 std::function<void()> handler)
{
    return std::make_unique<SchedulerSessionTimer>(scheduler_, intervalSeconds, std::move(handler));
}

} // namespace vesk
