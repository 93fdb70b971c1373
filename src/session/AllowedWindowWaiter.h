#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "logging/VeskLogger.h"
#include "session/AllowedWindowDetecting.h"
#include "session/AllowedWindowWaiting.h"

#include <memory>

namespace vesk {

// Polls the detector every 0.25 s until an allowed window is visible or 5.0 s
// have passed since the wait began; the start proceeds either way.
class AllowedWindowWaiter final : public AllowedWindowWaiting {
public:
    static constexpr double waitDeadlineSeconds = 5.0;
    static constexpr double pollIntervalSeconds = 0.25;

    AllowedWindowWaiter(std::shared_ptr<AllowedWindowDetecting> detector, Scheduler& scheduler);
    ~AllowedWindowWaiter() override;

    void waitForAllowedWindows(const std::set<QString>& allowedBundleIDs, std::function<void()> completion) override;
    void cancel() override;

private:
    void poll(const std::set<QString>& allowedBundleIDs, const std::function<void()>& completion, double deadline);

    std::shared_ptr<AllowedWindowDetecting> detector_;
    Scheduler& scheduler_;
    VeskLogger logger_{QStringLiteral("AllowedWindowWaiter")};
    WorkItem pendingCheckWorkItem_;
};

} // namespace vesk
