#include "core/WorkItem.h"

namespace vesk {

WorkItem WorkItem::create()
{
    WorkItem item;
    item.state_ = std::make_shared<State>();
    return item;
}

void WorkItem::cancel()
{
    if (state_)
        state_->cancelled = true;
}

bool WorkItem::cancelAndClear()
{
    if (!state_)
        return false;
    cancel();
    state_.reset();
    return true;
}

bool WorkItem::isCancelled() const
{
    return state_ && state_->cancelled;
}

bool WorkItem::isPending() const
{
    return state_ && !state_->cancelled && !state_->finished;
}

std::function<void()> WorkItem::guard(std::function<void()> work) const
{
    return [state = state_, work = std::move(work)] {
        if (state->cancelled || state->finished.exchange(true))
            return;
        work();
    };
}

} // namespace vesk
