#pragma once

#include "analytics/ReflectionReasonCategory.h"
#include "core/Clock.h"
#include "core/Scheduler.h"
#include "enforcement/DynamicAllowlistState.h"
#include "logging/VeskLogger.h"
#include "panels/AllowedAppVisibilitySnapshot.h"
#include "panels/AppLaunchPrompt.h"
#include "panels/SessionControlling.h"
#include "panels/SessionExitAppDisposition.h"
#include "panels/SessionScreenshotFeedback.h"
#include "panels/SessionStatusFeedback.h"
#include "session/AllowedAppLauncher.h"
#include "session/AllowedAppLookup.h"
#include "session/AllowedAppRecovery.h"
#include "session/AllowedAppReveal.h"
#include "session/AllowedWindowSpaceClassifier.h"
#include "session/DynamicAllowlistController.h"
#include "session/SessionExits.h"
#include "session/SessionNotices.h"
#include "session/SessionRecords.h"
#include "session/SessionReflection.h"
#include "session/SessionReflectionPrompt.h"
#include "session/SessionServiceHandlers.h"
#include "session/SessionServices.h"
#include "session/SessionStartSequence.h"
#include "session/SessionState.h"
#include "session/SessionStopReason.h"
#include "session/SessionTeardown.h"
#include "session/WindowMaterializationFlight.h"
#include "stage/StageVeskScreenID.h"
#include "store/GoalStatus.h"
#include "store/VeskHelpful.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QUuid>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

struct SessionManagerTiming {
    // Seconds after the first reveal attempt at which the retries run.
    std::vector<double> revealRetryOffsets{0.25, 0.75, 1.5, 3.0};
    double allowedAppsRecoveryDelay = 0.15;
};

// The one session engine: starts a focus session, drives every enforcement,
// overlay and panel service through its interfaces, and ends the session with
// an end reason and a reflection prompt. Main thread only; the entry points
// that may be called from elsewhere hop to the main queue.
//
// The manager coordinates; its parts do the work: the services' side of the
// start (SessionStartSequence) and of the stop (SessionTeardown), the handlers
// of the services' reports (SessionServiceHandlers), the countdown and the
// exits (SessionExits), the HUD's notices (SessionNotices), the reflection
// prompt (SessionReflection), the store record (SessionRecords), the recovery
// of the allowed applications (AllowedAppRecovery), the allowlist changes and
// launch prompts (DynamicAllowlistController), the reveal of an application
// (AllowedAppReveal) with its launches (AllowedAppLauncher) and window
// materialisations (WindowMaterializationFlight). They share the session's
// values (SessionState); the manager alone writes its observable state.
//
// The start registers the handlers with the services. Every handler, timer
// and delayed work item holds its owner weakly and carries the session's
// lifecycle identifier; a callback whose identifier is no longer the active
// one is ignored.
class SessionManager : public SessionControlling {
    Q_OBJECT
    Q_PROPERTY(bool isSessionActive READ isSessionActive NOTIFY isSessionActiveChanged)
    Q_PROPERTY(bool isStartingSession READ isStartingSession NOTIFY isStartingSessionChanged)
    Q_PROPERTY(bool isHardcoreSession READ isHardcoreSession NOTIFY isHardcoreSessionChanged)
    Q_PROPERTY(int remainingSeconds READ remainingSeconds NOTIFY remainingSecondsChanged)

public:
    using Timing = SessionManagerTiming;

    SessionManager(SessionServices services, Scheduler& scheduler, Clock& clock, Timing timing = {},
                   QObject* parent = nullptr);
    // Stops a running session with "appTerminate", leaving the applications open.
    ~SessionManager() override;

    // Observable surface.
    bool isSessionActive() const override { return state_.isSessionActive; }
    bool isStartingSession() const { return state_.isStartingSession; }
    bool isHardcoreSession() const override { return state_.isHardcoreSession; }
    int remainingSeconds() const { return exits_.remainingSeconds(); }
    std::optional<SessionScreenshotFeedback> screenshotFeedback() const override
    {
        return notices_.screenshotFeedback();
    }
    std::optional<SessionStatusFeedback> sessionStatusFeedback() const override
    {
        return notices_.sessionStatusFeedback();
    }
    const std::optional<QString>& currentGoal() const override { return currentGoal_; }
    const std::optional<SessionReflectionPrompt>& pendingReflection() const { return reflection_.pendingPrompt(); }
    const std::optional<AppLaunchPrompt>& pendingAppLaunchPrompt() const override { return allowlist_.pendingPrompt(); }
    std::optional<StageVeskScreenID> quickAccessTargetScreenID() const override { return quickAccessTargetScreenID_; }
    void setQuickAccessTargetScreenID(std::optional<StageVeskScreenID> screenID);

    // State the session core writes and views may read.
    bool isStoppingSession() const { return state_.isStoppingSession; }
    int sessionDurationSeconds() const { return state_.sessionDurationSeconds; }
    const std::optional<QDateTime>& sessionStartedAt() const { return state_.sessionStartedAt; }
    const std::optional<QUuid>& activeLifecycleID() const { return state_.activeLifecycleID; }
    const std::optional<QUuid>& activeFocusSessionID() const { return state_.activeFocusSessionID; }
    const DynamicAllowlistState& dynamicAllowlist() const override { return state_.dynamicAllowlist; }
    std::set<QString> currentAllowlist() const { return state_.currentAllowlist(); }
    const std::set<QString>& initiallyRunningAllowedBundleIDs() const
    {
        return state_.initiallyRunningAllowedBundleIDs;
    }
    const std::set<QString>& veskStartedBundleIDs() const { return state_.veskStartedBundleIDs; }
    const std::set<QString>& allPersistedAllowedBundleIDs() const { return state_.allPersistedAllowedBundleIDs; }
    const std::map<QString, QUrl>& appURLsByBundleID() const { return state_.appURLsByBundleID; }
    StageVeskScreenID sessionAnchorScreenID() const { return state_.sessionAnchorScreenID; }
    const std::vector<double>& dynamicRevealRetryOffsets() const { return reveal_.retryOffsets(); }

    // The store and the analytics service, handed over by the start-up.
    void setSessionStore(std::shared_ptr<SessionPersisting> store);
    void setAnalytics(std::shared_ptr<AnalyticsTracking> analytics);

    // "active=…, starting=…, stopping=…, allowed=[…], runningAllowed=[…],
    // veskStarted=[…], initiallyRunning=[…]", appended to several log lines.
    QString sessionDiagnosticsDescription() const override;

    // Start. `appURLs` may lack entries; `setupSeconds` only feeds analytics.
    void startSession(int durationSeconds, const std::set<QString>& allowedBundleIDs,
                      const std::map<QString, QUrl>& appURLs, const std::optional<QString>& goal, bool hardcore,
                      int setupSeconds);

    // Stop: the single way out of a session, for every end reason.
    void stopSession(SessionStopReason reason, SessionExitAppDisposition disposition);
    // Closes store records an earlier run left active, at launch.
    void recoverOrphanedSessions(const QDateTime& now);

    // Countdown and the ways out other than the timer.
    QString remainingTimeText(const QDateTime& now) const override;
    bool isOpenEndedSession() const override;
    void requestManualExitConfirmation() override;
    void confirmManualExit(SessionExitAppDisposition disposition) override;
    void logManualExitConfirmationCanceled() override;
    // Ends the session even when it is hardcore (a development control).
    void debugForceStop() override;
    void toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID) override;
    void toggleBugReportPanel() override;

    // Widening and narrowing the allowlist during a session.
    void addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                std::optional<StageVeskScreenID> targetScreen) override;
    bool canRemoveAppAtRuntime(const QString& bundleID) const override;
    void removeApp(const QString& bundleID) override;
    // The app-launch prompt's answer: true adds the application, false quits it.
    void confirmAppLaunchPrompt(bool allow) override;

    // Visibility of the allowed applications and bringing one back.
    std::vector<AllowedAppVisibilitySnapshot> allowedAppVisibilitySnapshots() const override;
    AllowedWindowSpaceClassification classifyAllowedWindowSpaceState(const QString& bundleID) const;
    void restoreAllowedApp(const QString& bundleID) override;
    // A recovery pass over the allowed applications soon, as the panels ask
    // for one when they close (targets: only these applications).
    void scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                     bool dragDeferrable) override;

    // Requests of the HUD and the reflection card.
    void requestScreenshot(const QDateTime& date) override;
    void saveReflection(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
                        const std::optional<QString>& note, std::optional<ReflectionReasonCategory> reasonCategory,
                        const QDateTime& answeredAt);
    void dismissReflection();

signals:
    void isSessionActiveChanged();
    void isStartingSessionChanged();
    void isHardcoreSessionChanged();
    void remainingSecondsChanged();
    void screenshotFeedbackChanged();
    void sessionStatusFeedbackChanged();
    void currentGoalChanged();
    void pendingReflectionChanged();
    void pendingAppLaunchPromptChanged();
    void quickAccessTargetScreenIDChanged();
    void dynamicAllowlistChanged();

private:
    using Signal = void (SessionManager::*)();

    // Stores an observable value; observers hear of it only when it changed.
    template <typename T>
    void assign(T& field, T value, Signal notify)
    {
        if (field == value)
            return;
        field = std::move(value);
        emit(this->*notify)();
    }

    // The second half of the start, once an allowed window shows or the wait gave up.
    void completeSessionStart(const QUuid& lifecycleID);
    // Sets the session's values and observable state for a new session.
    void beginSessionState(const QUuid& lifecycleID, const QUuid& focusSessionID, const QDateTime& startedAt,
                           int durationSeconds, const std::set<QString>& allowedBundleIDs,
                           const std::map<QString, QUrl>& appURLs, const std::optional<QString>& goal, bool hardcore);

    // Stop.
    void resetSessionState();
    void deinitStop();
    // Reveal retries, fail-open confirmation, recovery and the quit check.
    void cancelPendingSessionWork();

    // Runs `change`; observers hear of it when it changed the allowlist.
    void changeAllowlist(const std::function<void()>& change);

    // Runs `work` on the main queue when called elsewhere; true when it did so.
    bool redispatchToMainThread(std::function<void(SessionManager&)> work);

    SessionServices services_;
    Scheduler& scheduler_;
    Clock& clock_;
    VeskLogger logger_{QStringLiteral("SessionManager")};

    SessionState state_;
    std::optional<QString> currentGoal_;
    std::optional<StageVeskScreenID> quickAccessTargetScreenID_;

    // The parts, each built after those it uses.
    AllowedAppLookup lookup_;
    AllowedWindowSpaceClassifier classifier_;
    SessionRecords records_;
    WindowMaterializationFlight flight_;
    AllowedAppLauncher launcher_;
    AllowedAppReveal reveal_;
    AllowedAppRecovery recovery_;
    DynamicAllowlistController allowlist_;
    SessionExits exits_;
    SessionNotices notices_;
    SessionReflection reflection_;
    SessionServiceHandlers handlers_;
    SessionStartSequence start_;
    SessionTeardown teardown_;
};

} // namespace vesk
