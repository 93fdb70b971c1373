#pragma once

#include "core/WorkItem.h"
#include "panels/SessionScreenshotFeedback.h"
#include "panels/SessionStatusFeedback.h"

#include <functional>
#include <memory>
#include <optional>

namespace vesk {

class Scheduler;

// The HUD's two notices (the screenshot's outcome and the session's status):
// each shows for 1.5 s, and a new one replaces it and starts the time again.
// The hooks tell the manager's observers of every change. Main thread only.
class SessionNotices {
public:
    static constexpr double showTime = 1.5;

    struct Hooks {
        std::function<void()> screenshotFeedbackChanged;
        std::function<void()> sessionStatusFeedbackChanged;
    };

    SessionNotices(Scheduler& scheduler, Hooks hooks);
    ~SessionNotices();
    SessionNotices(const SessionNotices&) = delete;
    SessionNotices& operator=(const SessionNotices&) = delete;

    const std::optional<SessionScreenshotFeedback>& screenshotFeedback() const { return screenshotFeedback_; }
    const std::optional<SessionStatusFeedback>& sessionStatusFeedback() const { return sessionStatusFeedback_; }

    void showScreenshotFeedback(SessionScreenshotFeedback feedback);
    void showSessionStatusFeedback(SessionStatusFeedback feedback);
    // Takes both notices away.
    void clear();

private:
    template <typename T>
    void show(std::optional<T>& notice, T value, const std::function<void()>& changed, WorkItem& pendingReset);
    template <typename T>
    static void assign(std::optional<T>& notice, std::optional<T> value, const std::function<void()>& changed);

    Scheduler& scheduler_;
    const Hooks hooks_;
    std::optional<SessionScreenshotFeedback> screenshotFeedback_;
    std::optional<SessionStatusFeedback> sessionStatusFeedback_;
    WorkItem pendingScreenshotFeedbackReset_;
    WorkItem pendingSessionStatusFeedbackReset_;
};

} // namespace vesk
