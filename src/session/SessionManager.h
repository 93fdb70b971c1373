#pragma once

#include "analytics/ReflectionReasonCategory.h"
#include "store/GoalStatus.h"
#include "store/SessionEndReason.h"
#include "store/VeskHelpful.h"
#include "logging/VeskLogger.h"
#include "enforcement/DynamicAllowlistState.h"
#include "enforcement/MouseBlockerControlAction.h"
#include "overlay/OverlayWindowMotionEvent.h"
#include "panels/SessionScreenshotFeedback.h"
#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "session/AllowedAppVisibilitySnapshot.h"
#include "session/AppLaunchPrompt.h"
#include "session/SessionExitAppDisposition.h"
#include "session/SessionReflectionPrompt.h"
#include "session/SessionServices.h"
#include "session/SessionStatusFeedback.h"
#include "stage/StageVeskScreenID.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>
#include <QUuid>

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
// overlay and panel service through its interfaces, counts down, and ends the
// session with an end reason and a reflection prompt. Main thread only; the
// entry points that may be called from elsewhere hop to the main queue.
//
// Every closure handed to a service, a timer or a delayed work item holds the
// manager weakly and carries the session's lifecycle identifier; a callback
// whose identifier is no longer the active one is ignored.
class SessionManager : public QObject {
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
    bool isSessionActive() const { return isSessionActive_; }
    bool isStartingSession() const { return isStartingSession_; }
    bool isHardcoreSession() const { return isHardcoreSession_; }
    int remainingSeconds() const { return remainingSeconds_; }
    std::optional<SessionScreenshotFeedback> screenshotFeedback() const { return screenshotFeedback_; }
    std::optional<SessionStatusFeedback> sessionStatusFeedback() const { return sessionStatusFeedback_; }
    const std::optional<QString>& currentGoal() const { return currentGoal_; }
    const std::optional<SessionReflectionPrompt>& pendingReflection() const { return pendingReflection_; }
    const std::optional<AppLaunchPrompt>& pendingAppLaunchPrompt() const { return pendingAppLaunchPrompt_; }
    std::optional<StageVeskScreenID> quickAccessTargetScreenID() const { return quickAccessTargetScreenID_; }
    void setQuickAccessTargetScreenID(std::optional<StageVeskScreenID> screenID);

    // State the session core writes and views may read.
    bool isStoppingSession() const { return isStoppingSession_; }
    int sessionDurationSeconds() const { return sessionDurationSeconds_; }
    const std::optional<QDateTime>& sessionStartedAt() const { return sessionStartedAt_; }
    const std::optional<QUuid>& activeLifecycleID() const { return activeLifecycleID_; }
    const std::optional<QUuid>& activeFocusSessionID() const { return activeFocusSessionID_; }
    const DynamicAllowlistState& dynamicAllowlist() const { return dynamicAllowlist_; }
    std::set<QString> currentAllowlist() const { return dynamicAllowlist_.allowedBundleIDs(); }
    const std::set<QString>& initiallyRunningAllowedBundleIDs() const { return initiallyRunningAllowedBundleIDs_; }
    const std::set<QString>& veskStartedBundleIDs() const { return veskStartedBundleIDs_; }
    const std::set<QString>& allPersistedAllowedBundleIDs() const { return allPersistedAllowedBundleIDs_; }
    const std::map<QString, QUrl>& appURLsByBundleID() const { return appURLsByBundleID_; }
    StageVeskScreenID sessionAnchorScreenID() const { return sessionAnchorScreenID_; }
    const std::vector<double>& dynamicRevealRetryOffsets() const { return timing_.revealRetryOffsets; }

    // The store and the analytics service, handed over by the start-up.
    void setSessionStore(std::shared_ptr<SessionPersisting> store);
    void setAnalytics(std::shared_ptr<AnalyticsTracking> analytics);

    // "active=…, starting=…, stopping=…, allowed=[…], runningAllowed=[…],
    // veskStarted=[…], initiallyRunning=[…]", appended to several log lines.
    QString sessionDiagnosticsDescription() const;

    // Start. `appURLs` may lack entries; `setupSeconds` only feeds analytics.
    void startSession(int durationSeconds, const std::set<QString>& allowedBundleIDs,
                      const std::map<QString, QUrl>& appURLs, const std::optional<QString>& goal, bool hardcore,
                      int setupSeconds);
    // The second half of the start, once an allowed window shows or the wait gave up.
    void completeSessionStart(const QUuid& lifecycleID, int durationSeconds);
    bool isCurrentLifecycle(const QUuid& lifecycleID) const;

    // Stop: the single way out of a session, for every end reason.
    void stopSession(const QString& reason, SessionExitAppDisposition disposition);
    SessionEndReason resolveStopReason(const QString& reason) const;
    // Closes store records an earlier run left active, at launch.
    void recoverOrphanedSessions(const QDateTime& now);

    // Countdown and the ways out other than the timer.
    QString remainingTimeText(const QDateTime& now) const;
    bool isOpenEndedSession() const;
    void requestManualExitConfirmation();
    void confirmManualExit(SessionExitAppDisposition disposition);
    // Ends the session even when it is hardcore (a development control).
    void debugForceStop();
    void handleEmergencyHotkey(const QUuid& lifecycleID);
    void toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID);
    void toggleBugReportPanel();

    // Workspace lookups shared by start, stop and the in-session paths.
    // The given identifiers that belong to running, not terminated, regular applications.
    std::set<QString> runningAllowedBundleIDs(const std::set<QString>& bundleIDs) const;
    // The first running, not terminated application with that identifier.
    std::shared_ptr<RunningApplicationControlling> runningApplication(const QString& bundleID) const;
    // The application's display name: the bundle's name, else the identifier.
    std::pair<QString, QString> displayNameEntry(const QString& bundleID) const;

    // Asks for a pass over the allowed applications that brings the usable ones
    // to the front, after a short delay; a new request replaces a pending one.
    void scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                     bool dragDeferrable);

    // Callbacks of the services, installed by the start.
    void handleAllowedWindowsOccluded(const QUuid& lifecycleID, const std::set<QString>& bundleIDs);
    void handleAllowedWindowsTemporarilyMissing(const QUuid& lifecycleID);
    void handleAllowedWindowsMissing(const QUuid& lifecycleID);
    void forwardPassthroughRects(const QUuid& lifecycleID, const std::vector<Rect>& rects);
    void handleAllowedWindowMotion(const QUuid& lifecycleID, const std::vector<OverlayWindowMotionEvent>& events);
    void handleSeamDragHandoff(const QUuid& lifecycleID, const QString& bundleID, Point point);
    void handleAllowedWindowControlClick(const QUuid& lifecycleID, const QString& bundleID,
                                         MouseBlockerControlAction action, Point clickPoint);
    void handleClickObserved(Point clickPoint);
    void handleDisallowedAppHidden(const QUuid& lifecycleID, const QString& bundleID);
    void handleAppLaunchNeedingDecision(const QUuid& lifecycleID, const QString& bundleID);
    void appFullyClosedCallback(const QUuid& lifecycleID, const QString& bundleID);
    void handleSpaceChange(const QUuid& lifecycleID, const SpaceChangeContext& context);

    // Widening and narrowing the allowlist during a session.
    void addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                std::optional<StageVeskScreenID> targetScreen);
    bool canRemoveAppAtRuntime(const QString& bundleID) const;
    void removeApp(const QString& bundleID);
    // The app-launch prompt's answer: true adds the application, false quits it.
    void confirmAppLaunchPrompt(bool allow);

    // Visibility of the allowed applications and bringing one back.
    std::vector<AllowedAppVisibilitySnapshot> allowedAppVisibilitySnapshots() const;
    AllowedWindowSpaceClassification classifyAllowedWindowSpaceState(const QString& bundleID) const;
    void restoreAllowedApp(const QString& bundleID);

    // Requests of the HUD and the reflection card.
    void requestScreenshot(const QDateTime& date);
    void saveReflection(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
                        const std::optional<QString>& note, std::optional<ReflectionReasonCategory> reasonCategory,
                        const QDateTime& answeredAt);
    void dismissReflection();

    // Writes (or overwrites) the application's blank web page in
    // "<temporaryDirectory>/VESKBlankDocuments"; the file's path, or none with
    // the reason in `error`.
    static std::optional<QString> writeBlankRevealDocument(const QString& temporaryDirectory, const QString& bundleID,
                                                           QString* error);

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

private:
    using Signal = void (SessionManager::*)();

    // Stores an observable value; observers hear of it only when it changed.
    template <typename T>
    void assign(T& field, T value, Signal changed)
    {
        if (field == value)
            return;
        field = std::move(value);
        emit(this->*changed)();
    }

    // Start.
    void captureSessionAnchorScreen();
    void logSessionStartDisplayContext(const QUuid& lifecycleID, const std::set<QString>& allowlist);
    void persistSessionStart(const QUuid& focusSessionID, const QDateTime& startedAt, int durationSeconds,
                             const std::optional<QString>& goal);
    void launchInitialAllowlist(const std::set<QString>& allowedBundleIDs, const std::map<QString, QUrl>& appURLs);
    void launchAllowedApp(const QString& bundleID, const QUrl& url, const QString& source, bool trackAsVeskStarted);
    void handleLaunchCompletion(const QString& bundleID, const QString& source, bool trackAsVeskStarted,
                                const std::optional<QUuid>& launchLifecycleID, const std::optional<QString>& error);
    void installStartCallbacks(const QUuid& lifecycleID);
    void installCompletionHandlers(const QUuid& lifecycleID);
    std::optional<QUrl> applicationURL(const QString& bundleID) const;
    QString screenDescription(const platform::ScreenInfo& screen) const;

    // Stop.
    void terminateAllowedApps(const std::set<QString>& allowlist, const std::set<QString>& veskStarted,
                              const std::set<QString>& initiallyRunning);
    void scheduleTerminationVerification(const std::set<QString>& allowlist,
                                         const std::map<QString, std::set<qint32>>& requestedPIDs);
    void verifyTermination(const std::map<QString, std::set<qint32>>& requestedPIDs);
    void persistSessionStop(SessionEndReason reason, const QDateTime& stoppedAt);
    void resetSessionState();
    void deinitStop();

    // Countdown.
    void startSessionTimer(const QUuid& lifecycleID);
    void handleTimerTick(const QUuid& lifecycleID);
    void stopSessionTimer();

    // Pending delayed work.
    void cancelPendingScreenshotFeedbackReset();
    void cancelPendingSessionStatusFeedbackReset();
    void cancelAllPendingDynamicReveals();
    void cancelPendingFailOpenConfirmation();
    void cancelPendingAllowedAppsRecovery();
    void cancelPendingTerminationVerification();
    void cancelAllWindowMaterializationTimeouts();

    // Fail-open and recovery.
    void scheduleFailOpenConfirmation(const QUuid& lifecycleID);
    void confirmFailOpen(const QUuid& lifecycleID);
    bool discardRecoveryIfWindowsVisible(const QString& reason, const std::optional<std::set<QString>>& targets);
    std::optional<double> deferRecoveryDuringDrag(const QString& reason);
    void scheduleRecoveryWorkItem(const QString& reason, const std::optional<std::set<QString>>& targets,
                                  bool dragDeferrable, double delay);
    // The checks a recovery request passes when it is asked for and again when
    // it fires: true when it was skipped (no session), discarded (the windows
    // are visible) or deferred (a drag is settling).
    bool recoverySkippedOrDeferred(const QString& reason, const std::optional<std::set<QString>>& targets,
                                   bool dragDeferrable);
    void fireAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                 bool dragDeferrable);
    void performAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets);

    // Dynamic allowlist and app-launch prompts.
    void presentAppLaunchPrompt(const QString& bundleID);
    void handleAppFullyClosed(const QString& bundleID);
    void synchronizeAllowlist();
    void persistAllowlistUpdate();
    void hideRemovedApp(const QString& bundleID);
    void terminateDeclinedApp(const QString& bundleID);
    void cancelPendingDynamicReveal(const QString& bundleID);
    void cancelWindowMaterializationTimeout(const QString& bundleID);

    // Visibility, recovery and reveal.
    struct RevealProgress {
        bool appOpenFallbackUsed = false;
        bool blankFallbackUsed = false;
        bool materializationAttempted = false;
        bool minimizedRestoreAttempted = false;
    };
    void scheduleSessionStatusFeedbackReset();
    void showScreenshotFeedback(SessionScreenshotFeedback feedback);
    void recoverAllowedApp(const QString& bundleID, const QString& reason, bool targeted, int& activated,
                           int& skippedSpaceBlocked);
    void dynamicReveal(const QString& bundleID, int attempt, RevealProgress progress);
    void runRevealFallbackChain(const QString& bundleID, const std::optional<QUrl>& url, int attempt,
                                RevealProgress& progress);
    bool appOpenFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt);
    bool finderFallback(const std::optional<QUrl>& finderURL, int attempt);
    bool blankDocumentFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt);
    bool restoreMinimizedWindows(const QString& bundleID, const QString& reason,
                                 const AllowedWindowSpaceClassification& classification);
    void scheduleRevealRetry(const QString& bundleID, int attempt, RevealProgress progress);
    bool isAllowedWindowVisible(const QString& bundleID) const;
    WindowMaterializationOutcome materializeWindow(const QString& bundleID, const QString& reason);
    void settleWindowMaterialization(const QString& bundleID, const QString& reason);
    bool trackLaunchAsVeskStarted(const QString& bundleID) const;

    // Runs `work` on the main queue when called elsewhere; true when it did so.
    bool redispatchToMainThread(std::function<void(SessionManager&)> work);
    // Logs "<message><lifecycle UUID>" at the level when the lifecycle is stale.
    bool rejectStale(const QUuid& lifecycleID, VeskLogLevel level, const QString& message) const;

    SessionServices services_;
    Scheduler& scheduler_;
    Clock& clock_;
    Timing timing_;
    VeskLogger logger_{QStringLiteral("SessionManager")};

    bool isSessionActive_ = false;
    bool isStartingSession_ = false;
    bool isHardcoreSession_ = false;
    int remainingSeconds_ = 0;
    std::optional<SessionScreenshotFeedback> screenshotFeedback_;
    std::optional<SessionStatusFeedback> sessionStatusFeedback_;
    std::optional<QString> currentGoal_;
    std::optional<SessionReflectionPrompt> pendingReflection_;
    std::optional<AppLaunchPrompt> pendingAppLaunchPrompt_;
    std::optional<StageVeskScreenID> quickAccessTargetScreenID_;

    std::unique_ptr<SessionTimerControlling> timer_;
    int sessionDurationSeconds_ = 0;
    std::optional<QDateTime> sessionStartedAt_;
    bool isStoppingSession_ = false;
    std::optional<QUuid> activeLifecycleID_;
    std::optional<QUuid> activeFocusSessionID_;
    std::map<QString, QUrl> appURLsByBundleID_;
    std::set<QString> allPersistedAllowedBundleIDs_;
    std::set<QString> initiallyRunningAllowedBundleIDs_;
    std::set<QString> veskStartedBundleIDs_;
    StageVeskScreenID sessionAnchorScreenID_;
    DynamicAllowlistState dynamicAllowlist_;

    WorkItem pendingScreenshotFeedbackReset_;
    WorkItem pendingSessionStatusFeedbackReset_;
    std::map<QString, std::vector<WorkItem>> pendingDynamicRevealWorkItems_;
    WorkItem pendingAllowedWindowsMissingConfirmation_;
    WorkItem pendingAllowedAppsRecoveryWorkItem_;
    WorkItem pendingAllowedAppTerminationVerification_;
    std::map<QString, WorkItem> pendingWindowMaterializationTimeouts_;
};

} // namespace vesk
