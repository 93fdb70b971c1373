#pragma once

#include "panels/SessionControlling.h"

#include <QStringList>

#include <functional>

namespace vesk::test {

// A session for view tests: its observed values are set by the test (each
// setter emits `changed` as the session manager does), the values read on
// every render are plain fields, and every operation is recorded as a line
// such as "confirmManualExit(terminateAllowedApps)". Adding and removing an
// application change the allowlist as the manager would.
class FakeSession final : public SessionControlling {
public:
    // Observed values.
    void setSessionActive(bool value) { assign(active_, value); }
    void setHardcore(bool value) { assign(hardcore_, value); }
    void setOpenEnded(bool value) { assign(openEnded_, value); }
    void setGoal(std::optional<QString> goal) { assign(goal_, std::move(goal)); }
    void setStatusFeedback(std::optional<SessionStatusFeedback> value) { assign(statusFeedback_, value); }
    void setScreenshotFeedback(std::optional<SessionScreenshotFeedback> value) { assign(screenshotFeedback_, value); }
    void setAllowlist(DynamicAllowlistState allowlist) { assign(allowlist_, std::move(allowlist)); }
    void setQuickAccessTarget(std::optional<StageVeskScreenID> screen) { assign(quickAccessTarget_, screen); }
    void setPendingPrompt(std::optional<AppLaunchPrompt> prompt) { assign(prompt_, std::move(prompt)); }

    // Read on every render.
    std::function<QString(const QDateTime&)> timeText = [](const QDateTime&) { return QStringLiteral("25:00"); };
    std::vector<AllowedAppVisibilitySnapshot> visibilities;
    // The added applications the session would let go now.
    std::set<QString> removable;
    QString diagnostics = QStringLiteral("active=true, starting=false, stopping=false");

    // The operations asked for, in order.
    QStringList calls;

    bool isSessionActive() const override { return active_; }
    bool isHardcoreSession() const override { return hardcore_; }
    bool isOpenEndedSession() const override { return openEnded_; }
    const std::optional<QString>& currentGoal() const override { return goal_; }
    std::optional<SessionStatusFeedback> sessionStatusFeedback() const override { return statusFeedback_; }
    std::optional<SessionScreenshotFeedback> screenshotFeedback() const override { return screenshotFeedback_; }
    const DynamicAllowlistState& dynamicAllowlist() const override { return allowlist_; }
    std::optional<StageVeskScreenID> quickAccessTargetScreenID() const override { return quickAccessTarget_; }
    const std::optional<AppLaunchPrompt>& pendingAppLaunchPrompt() const override { return prompt_; }

    QString remainingTimeText(const QDateTime& now) const override { return timeText(now); }
    std::vector<AllowedAppVisibilitySnapshot> allowedAppVisibilitySnapshots() const override { return visibilities; }
    QString sessionDiagnosticsDescription() const override { return diagnostics; }
    bool canRemoveAppAtRuntime(const QString& bundleID) const override { return removable.contains(bundleID); }

    void addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                std::optional<StageVeskScreenID> targetScreen) override
    {
        calls << QStringLiteral("addApp(%1, %2, %3)")
                     .arg(bundleID, applicationURL ? applicationURL->toString() : QStringLiteral("none"),
                          targetScreen ? QString::number(targetScreen->rawValue) : QStringLiteral("none"));
        DynamicAllowlistState widened = allowlist_;
        widened.insertDynamic(bundleID);
        setAllowlist(widened);
    }
    void removeApp(const QString& bundleID) override
    {
        calls << QStringLiteral("removeApp(%1)").arg(bundleID);
        DynamicAllowlistState narrowed = allowlist_;
        narrowed.remove(bundleID);
        setAllowlist(narrowed);
    }
    void restoreAllowedApp(const QString& bundleID) override
    {
        calls << QStringLiteral("restoreAllowedApp(%1)").arg(bundleID);
    }
    void requestManualExitConfirmation() override { calls << QStringLiteral("requestManualExitConfirmation"); }
    void confirmManualExit(SessionExitAppDisposition disposition) override
    {
        calls << QStringLiteral("confirmManualExit(%1)").arg(toRaw(disposition));
    }
    void logManualExitConfirmationCanceled() override { calls << QStringLiteral("logManualExitConfirmationCanceled"); }
    void debugForceStop() override { calls << QStringLiteral("debugForceStop"); }
    void toggleBugReportPanel() override { calls << QStringLiteral("toggleBugReportPanel"); }
    void toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID) override
    {
        calls << QStringLiteral("toggleQuickAccessPanel(%1)")
                     .arg(screenID ? QString::number(screenID->rawValue) : QStringLiteral("none"));
    }
    void requestScreenshot(const QDateTime& date) override
    {
        calls << QStringLiteral("requestScreenshot(%1)").arg(date.toString(Qt::ISODate));
    }
    void confirmAppLaunchPrompt(bool allow) override
    {
        calls << QStringLiteral("confirmAppLaunchPrompt(%1)").arg(allow ? "true" : "false");
    }
    void scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                     bool dragDeferrable) override
    {
        calls << QStringLiteral("scheduleAllowedAppsRecovery(%1, %2, %3)")
                     .arg(reason,
                          targets ? QStringList(targets->begin(), targets->end()).join(',') : QStringLiteral("none"),
                          dragDeferrable ? "true" : "false");
    }

private:
    template <typename T>
    void assign(T& field, T value)
    {
        if (field == value)
            return;
        field = std::move(value);
        emit changed();
    }

    bool active_ = true;
    bool hardcore_ = false;
    bool openEnded_ = false;
    std::optional<QString> goal_;
    std::optional<SessionStatusFeedback> statusFeedback_;
    std::optional<SessionScreenshotFeedback> screenshotFeedback_;
    DynamicAllowlistState allowlist_;
    std::optional<StageVeskScreenID> quickAccessTarget_;
    std::optional<AppLaunchPrompt> prompt_;
};

} // namespace vesk::test
