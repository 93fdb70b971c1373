#include "session/SessionNotices.h"

#include "core/Scheduler.h"

namespace vesk {

SessionNotices::SessionNotices(Scheduler& scheduler, Hooks hooks) : scheduler_(scheduler), hooks_(std::move(hooks))
{
}

SessionNotices::~SessionNotices()
{
    pendingScreenshotFeedbackReset_.cancel();
    pendingSessionStatusFeedbackReset_.cancel();
}

void SessionNotices::showScreenshotFeedback(SessionScreenshotFeedback feedback)
{
    show(screenshotFeedback_, feedback, hooks_.screenshotFeedbackChanged, pendingScreenshotFeedbackReset_);
}

void SessionNotices::showSessionStatusFeedback(SessionStatusFeedback feedback)
{
    show(sessionStatusFeedback_, feedback, hooks_.sessionStatusFeedbackChanged, pendingSessionStatusFeedbackReset_);
}

void SessionNotices::clear()
{
    pendingScreenshotFeedbackReset_.cancelAndClear();
    assign(screenshotFeedback_, std::optional<SessionScreenshotFeedback>(), hooks_.screenshotFeedbackChanged);
    pendingSessionStatusFeedbackReset_.cancelAndClear();
    assign(sessionStatusFeedback_, std::optional<SessionStatusFeedback>(), hooks_.sessionStatusFeedbackChanged);
}

template <typename T>
void SessionNotices::show(std::optional<T>& notice, T value, const std::function<void()>& changed,
                          WorkItem& pendingReset)
{
    pendingReset.cancel();
    assign(notice, std::optional<T>(value), changed);
    pendingReset = scheduler_.asyncAfter(showTime, [&notice, &changed, &pendingReset] {
        assign(notice, std::optional<T>(), changed);
        pendingReset = WorkItem();
    });
}

template <typename T>
void SessionNotices::assign(std::optional<T>& notice, std::optional<T> value, const std::function<void()>& changed)
{
    if (notice == value)
        return;
    notice = std::move(value);
    changed();
}

} // namespace vesk
