#include "session/AllowedWindowWaiter.h"

namespace vesk {

AllowedWindowWaiter::AllowedWindowWaiter(std::shared_ptr<AllowedWindowDetecting> detector, Scheduler& scheduler)
    : detector_(std::move(detector))
    , scheduler_(scheduler)
{
}

AllowedWindowWaiter::~AllowedWindowWaiter()
{
    // The pending poll refers to this waiter.
    cancel();
}

void AllowedWindowWaiter::waitForAllowedWindows(const std::set<QString>& allowedBundleIDs,
                                                std::function<void()> completion)
{
    cancel();
    poll(allowedBundleIDs, completion, scheduler_.uptime() + waitDeadlineSeconds);
}

void AllowedWindowWaiter::cancel()
{
    pendingCheckWorkItem_.cancelAndClear();
}

void AllowedWindowWaiter::poll(const std::set<QString>& allowedBundleIDs, const std::function<void()>& completion,
                               double deadline)
{
    if (!detector_->detectAllowedWindows(allowedBundleIDs).visible.empty()) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Allowed app window detected — proceeding with overlay activation"));
        completion();
        return;
    }
    // Only tested when nothing is visible, so a window that shows up on the
    // last poll still counts as detected.
    if (scheduler_.uptime() >= deadline) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Timeout waiting for allowed app windows — proceeding anyway"));
        completion();
        return;
    }
    pendingCheckWorkItem_ = scheduler_.asyncAfter(pollIntervalSeconds, [this, allowedBundleIDs, completion, deadline] {
        poll(allowedBundleIDs, completion, deadline);
    });
}

} // namespace vesk
