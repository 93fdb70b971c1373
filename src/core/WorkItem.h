#pragma once

#include <atomic>
#include <functional>
#include <memory>

namespace vesk {

// A handle to work scheduled on a Scheduler. Cancelling it before it runs keeps
// it from ever running; dropping the handle leaves the work scheduled.
class WorkItem {
public:
    WorkItem() = default;

    void cancel();
    // Cancels the work and lets go of it; true when the handle held an item.
    bool cancelAndClear();
    bool isCancelled() const;
    // Scheduled, not yet run and not cancelled.
    bool isPending() const;
    bool isValid() const { return state_ != nullptr; }

    // Used by schedulers: wraps the work so that it runs at most once and only
    // when the item has not been cancelled.
    static WorkItem create();
    std::function<void()> guard(std::function<void()> work) const;

private:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> finished{false};
    };
    std::shared_ptr<State> state_;
};

} // namespace vesk
