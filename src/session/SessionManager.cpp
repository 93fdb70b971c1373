#include "session/SessionManager.h"

#include "analytics/AnalyticsDurationBucket.h"
#include "core/MainThread.h"
#include "core/TextFormat.h"
#include "overlay/OverlayLogText.h"
#include "store/GoalRule.h"

#include <cmath>

namespace vesk {

SessionManager::SessionManager(SessionServices services, Scheduler& scheduler, Clock& clock, Timing timing,
                               QObject* parent)
    : SessionControlling(parent)
    , services_(std::move(services))
    , scheduler_(scheduler)
    , clock_(clock)
    , lookup_(*services_.workspace, state_)
    , classifier_(services_, lookup_)
    , records_(services_, state_)
    , flight_(services_, state_, lookup_, scheduler)
    , launcher_(services_, state_, lookup_, scheduler)
    , reveal_(services_, state_, lookup_, classifier_, flight_, launcher_, scheduler,
              std::move(timing.revealRetryOffsets))
    , recovery_(services_, state_, lookup_, classifier_, flight_, scheduler, clock, timing.allowedAppsRecoveryDelay)
    , allowlist_(services_, state_, lookup_, records_, reveal_, recovery_, flight_,
                 [this] { emit pendingAppLaunchPromptChanged(); })
    , exits_(services_, state_, scheduler,
             SessionExits::Hooks{
                 [this](SessionStopReason reason, SessionExitAppDisposition disposition) {
                     stopSession(reason, disposition);
                 },
                 [this] { emit remainingSecondsChanged(); },
                 [this] { return sessionDiagnosticsDescription(); },
             })
    , notices_(scheduler, SessionNotices::Hooks{[this] { emit screenshotFeedbackChanged(); },
                                                [this] { emit sessionStatusFeedbackChanged(); }})
    , reflection_(services_, [this] { emit pendingReflectionChanged(); })
    , handlers_(services_, state_, scheduler, clock, SessionServiceHandlers::Parts{recovery_, allowlist_, exits_},
                SessionServiceHandlers::Hooks{*this,
                                              [this](const std::function<void()>& change) { changeAllowlist(change); }})
    , start_(services_, state_, lookup_, launcher_, handlers_, *this)
    , teardown_(services_, state_, exits_, notices_, allowlist_)
{
    for (const Signal observed :
         {&SessionManager::isSessionActiveChanged, &SessionManager::isStartingSessionChanged,
          &SessionManager::isHardcoreSessionChanged, &SessionManager::screenshotFeedbackChanged,
          &SessionManager::sessionStatusFeedbackChanged, &SessionManager::currentGoalChanged,
          &SessionManager::pendingAppLaunchPromptChanged, &SessionManager::quickAccessTargetScreenIDChanged,
          &SessionManager::dynamicAllowlistChanged})
        connect(this, observed, this, &SessionControlling::changed);
}

SessionManager::~SessionManager()
{
    deinitStop();
}

void SessionManager::setQuickAccessTargetScreenID(std::optional<StageVeskScreenID> screenID)
{
    assign(quickAccessTargetScreenID_, screenID, &SessionManager::quickAccessTargetScreenIDChanged);
}

void SessionManager::setSessionStore(std::shared_ptr<SessionPersisting> store)
{
    services_.sessionStore = std::move(store);
}

void SessionManager::setAnalytics(std::shared_ptr<AnalyticsTracking> analytics)
{
    services_.analytics = std::move(analytics);
}

QString SessionManager::sessionDiagnosticsDescription() const
{
    const std::set<QString> allowed = state_.currentAllowlist();
    return QStringLiteral("active=%1, starting=%2, stopping=%3, allowed=%4, runningAllowed=%5, veskStarted=%6, "
                          "initiallyRunning=%7")
        .arg(boolText(state_.isSessionActive), boolText(state_.isStartingSession), boolText(state_.isStoppingSession),
             sortedArrayText(allowed), sortedArrayText(lookup_.runningAllowedBundleIDs(allowed)),
             sortedArrayText(state_.veskStartedBundleIDs), sortedArrayText(state_.initiallyRunningAllowedBundleIDs));
}

bool SessionManager::redispatchToMainThread(std::function<void(SessionManager&)> work)
{
    if (isMainThread())
        return false;
    scheduler_.async([self = QPointer<SessionManager>(this), work = std::move(work)] {
        if (self)
            work(*self);
    });
    return true;
}

void SessionManager::cancelPendingSessionWork()
{
    reveal_.cancelAll();
    recovery_.cancelMissingWindowsConfirmation();
    recovery_.cancel();
    exits_.cancelQuitVerification();
}

// MARK: - Start

void SessionManager::startSession(int durationSeconds, const std::set<QString>& allowedBundleIDs,
                                  const std::map<QString, QUrl>& appURLs, const std::optional<QString>& goal,
                                  bool hardcore, int setupSeconds)
{
    if (redispatchToMainThread([=](SessionManager& self) {
            self.startSession(durationSeconds, allowedBundleIDs, appURLs, goal, hardcore, setupSeconds);
        }))
        return;

    if (state_.isSessionActive || state_.isStartingSession || state_.isStoppingSession) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("startSession called during an active or transitioning session"));
        return;
    }

    const QUuid lifecycleID = QUuid::createUuid();
    const QDateTime startedAt = clock_.now();
    const QUuid focusSessionID = QUuid::createUuid();
    const std::optional<QString> normalizedGoal = goalRule(goal);

    services_.transitionPresenter->showEnteringTransition();
    notices_.clear();
    reflection_.clear();
    cancelPendingSessionWork();
    flight_.cancelAll();

    // The marker row comes before the first log line of the session.
    services_.logSessionStart(durationSeconds, allowedBundleIDs);

    beginSessionState(lifecycleID, focusSessionID, startedAt, durationSeconds, allowedBundleIDs, appURLs,
                      normalizedGoal, hardcore);
    start_.captureAnchorScreen();

    logger_.log(VeskLogLevel::info,
                QStringLiteral("Starting session — lifecycle=%1, duration=%2s, apps=%3, hasGoal=%4, hardcore=%5")
                    .arg(uuidText(lifecycleID))
                    .arg(durationSeconds)
                    .arg(sortedArrayText(allowedBundleIDs), boolText(normalizedGoal.has_value()), boolText(hardcore)));
    start_.trackStarted(durationSeconds, static_cast<int>(allowedBundleIDs.size()), hardcore, setupSeconds,
                        normalizedGoal.has_value());
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Post-session app restoration offer disabled — disallowed apps are hidden "
                               "during VESK, not relaunched afterward"));
    logger_.log(VeskLogLevel::info, QStringLiteral("Captured initially running allowed apps — bundleIDs=")
                                        + sortedArrayText(state_.initiallyRunningAllowedBundleIDs));

    records_.persistStart(focusSessionID, startedAt, durationSeconds, normalizedGoal);

    start_.activateServices(lifecycleID, allowedBundleIDs, appURLs, hardcore,
                            [self = QPointer<SessionManager>(this), lifecycleID] {
                                if (self)
                                    self->completeSessionStart(lifecycleID);
                            });
}

void SessionManager::beginSessionState(const QUuid& lifecycleID, const QUuid& focusSessionID,
                                       const QDateTime& startedAt, int durationSeconds,
                                       const std::set<QString>& allowedBundleIDs,
                                       const std::map<QString, QUrl>& appURLs, const std::optional<QString>& goal,
                                       bool hardcore)
{
    changeAllowlist([&] { state_.dynamicAllowlist = DynamicAllowlistState(allowedBundleIDs, {}); });
    state_.initiallyRunningAllowedBundleIDs = lookup_.runningAllowedBundleIDs(allowedBundleIDs);
    state_.veskStartedBundleIDs.clear();
    state_.appURLsByBundleID = appURLs;
    state_.allPersistedAllowedBundleIDs = allowedBundleIDs;
    state_.sessionDurationSeconds = durationSeconds;
    state_.sessionStartedAt = startedAt;
    exits_.setRemainingSeconds(durationSeconds);
    assign(currentGoal_, goal, &SessionManager::currentGoalChanged);
    assign(state_.isSessionActive, true, &SessionManager::isSessionActiveChanged);
    assign(state_.isStartingSession, true, &SessionManager::isStartingSessionChanged);
    state_.activeLifecycleID = lifecycleID;
    state_.activeFocusSessionID = focusSessionID;
    assign(state_.isHardcoreSession, hardcore, &SessionManager::isHardcoreSessionChanged);
}

void SessionManager::completeSessionStart(const QUuid& lifecycleID)
{
    if (handlers_.rejectStale(lifecycleID, VeskLogLevel::warning,
                              QStringLiteral("Ignoring stale start completion for lifecycle=")))
        return;
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Skipping session completion because session is no longer active"));
        return;
    }

    const std::set<QString> allowlist = state_.currentAllowlist();
    start_.logDisplayContext(lifecycleID, allowlist);
    start_.completeServices(lifecycleID, allowlist);
    if (state_.sessionDurationSeconds > 0)
        exits_.startCountdown(lifecycleID);
    assign(state_.isStartingSession, false, &SessionManager::isStartingSessionChanged);
    recovery_.schedule(QStringLiteral("sessionStart"), std::nullopt, false);
    logger_.log(VeskLogLevel::info, QStringLiteral("Session started successfully"));
}

// MARK: - Stop

void SessionManager::stopSession(SessionStopReason reason, SessionExitAppDisposition disposition)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.stopSession(reason, disposition); }))
        return;
    if (state_.isStoppingSession) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("stopSession called while a stop is already in progress"));
        return;
    }
    if (!state_.isSessionActive && !state_.isStartingSession) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("stopSession called but no session is active"));
        return;
    }

    // From here on every callback of the session is stale.
    const std::optional<QUuid> lifecycleID = state_.activeLifecycleID;
    state_.isStoppingSession = true;
    state_.activeLifecycleID.reset();
    assign(state_.isStartingSession, false, &SessionManager::isStartingSessionChanged);
    assign(state_.isHardcoreSession, false, &SessionManager::isHardcoreSessionChanged);

    const QDateTime stoppedAt = clock_.now();
    const SessionEndReason endReason = vesk::endReason(reason);

    const std::optional<QUuid> focusSessionID = state_.activeFocusSessionID;
    const std::optional<QDateTime> startedAt = state_.sessionStartedAt;
    const int durationSeconds = state_.sessionDurationSeconds;
    const std::optional<QString> goal = currentGoal_;
    const std::set<QString> allowlist = state_.currentAllowlist();
    const std::set<QString> veskStarted = state_.veskStartedBundleIDs;
    const std::set<QString> initiallyRunning = state_.initiallyRunningAllowedBundleIDs;
    const int dynamicCount = static_cast<int>(state_.dynamicAllowlist.dynamicBundleIDs().size());
    const qint64 elapsedSeconds =
        startedAt ? std::llround(static_cast<double>(startedAt->msecsTo(stoppedAt)) / 1000.0) : 0;

    logger_.log(VeskLogLevel::info,
                QStringLiteral("Stopping session — lifecycle=%1, reason=%2, appDisposition=%3, allowed=%4, "
                               "veskStarted=%5, initiallyRunning=%6")
                    .arg(lifecycleID ? uuidText(*lifecycleID) : QStringLiteral("none"), toRaw(reason),
                         toRaw(disposition), sortedArrayText(allowlist), sortedArrayText(veskStarted),
                         sortedArrayText(initiallyRunning)));

    services_.analytics->track(
        AnalyticsEvent::SessionEnded{toRaw(endReason), analyticsDurationBucket(elapsedSeconds), dynamicCount});

    services_.allowedWindowWaiter->cancel();
    cancelPendingSessionWork();
    // A flight of the ended session must not time out into the next one.
    flight_.cancelAll();

    teardown_.deactivateServices();

    if (disposition == SessionExitAppDisposition::terminateAllowedApps)
        exits_.quitAllowedApps(allowlist, veskStarted, initiallyRunning);

    records_.persistStop(endReason, stoppedAt);

    reflection_.prepare(focusSessionID, startedAt, stoppedAt, durationSeconds, endReason, goal);

    resetSessionState();
    services_.uiController->showMainWindow();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Session stopped successfully — post-session app restoration offer disabled"));
    state_.isStoppingSession = false;
}

void SessionManager::resetSessionState()
{
    assign(state_.isSessionActive, false, &SessionManager::isSessionActiveChanged);
    state_.sessionDurationSeconds = 0;
    state_.sessionStartedAt.reset();
    exits_.setRemainingSeconds(0);
    state_.activeFocusSessionID.reset();
    assign(currentGoal_, std::optional<QString>(), &SessionManager::currentGoalChanged);
    state_.allPersistedAllowedBundleIDs.clear();
    state_.initiallyRunningAllowedBundleIDs.clear();
    state_.veskStartedBundleIDs.clear();
    changeAllowlist([this] { state_.dynamicAllowlist = DynamicAllowlistState(); });
    state_.appURLsByBundleID.clear();
}

void SessionManager::recoverOrphanedSessions(const QDateTime& now)
{
    records_.recoverOrphanedSessions(now);
}

void SessionManager::deinitStop()
{
    cancelPendingSessionWork();
    if (state_.isSessionActive)
        stopSession(SessionStopReason::appTerminate, SessionExitAppDisposition::leaveOpen);
    // Nothing the session scheduled may outlive the manager.
    notices_.clear();
    flight_.cancelAll();
    services_.allowedWindowWaiter->cancel();
    exits_.stopCountdown();
}

// MARK: - Countdown, exits and the panel toggles

QString SessionManager::remainingTimeText(const QDateTime& now) const
{
    return exits_.remainingTimeText(now);
}

bool SessionManager::isOpenEndedSession() const
{
    return exits_.isOpenEndedSession();
}

void SessionManager::requestManualExitConfirmation()
{
    exits_.requestManualExitConfirmation();
}

void SessionManager::confirmManualExit(SessionExitAppDisposition disposition)
{
    exits_.confirmManualExit(disposition);
}

void SessionManager::logManualExitConfirmationCanceled()
{
    logger_.log(VeskLogLevel::info,
                QStringLiteral("HUD manual exit confirmation canceled — ") + sessionDiagnosticsDescription());
}

void SessionManager::debugForceStop()
{
    exits_.debugForceStop();
}

void SessionManager::toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID)
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring quick access panel toggle because no active session is available"));
        return;
    }
    std::optional<StageVeskScreenID> target = screenID;
    if (!target)
        target = StageVeskScreenID::forPoint(*services_.screens, services_.mouseLocation());
    setQuickAccessTargetScreenID(target);
    const auto text = [](const std::optional<StageVeskScreenID>& id) {
        return id ? QString::number(id->rawValue) : QStringLiteral("none");
    };
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Quick access panel toggled — targetScreenID=%1, resolvedTargetScreenID=%2")
                    .arg(text(screenID), text(quickAccessTargetScreenID_)));
    services_.uiController->toggleQuickAccessPanel(*this);
}

void SessionManager::toggleBugReportPanel()
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring bug report panel toggle because no active session is available"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Bug report panel toggled"));
    services_.uiController->toggleBugReportPanel();
}

// MARK: - Allowlist changes

void SessionManager::addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                            std::optional<StageVeskScreenID> targetScreen)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.addApp(bundleID, applicationURL, targetScreen); }))
        return;
    changeAllowlist([&] { allowlist_.add(bundleID, applicationURL, targetScreen); });
}

void SessionManager::changeAllowlist(const std::function<void()>& change)
{
    const DynamicAllowlistState before = state_.dynamicAllowlist;
    change();
    if (state_.dynamicAllowlist != before)
        emit dynamicAllowlistChanged();
}

bool SessionManager::canRemoveAppAtRuntime(const QString& bundleID) const
{
    return allowlist_.canRemove(bundleID);
}

void SessionManager::removeApp(const QString& bundleID)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.removeApp(bundleID); }))
        return;
    changeAllowlist([&] { allowlist_.remove(bundleID); });
}

void SessionManager::confirmAppLaunchPrompt(bool allow)
{
    changeAllowlist([&] { allowlist_.confirmPrompt(allow); });
}

// MARK: - Visibility and restore

AllowedWindowSpaceClassification SessionManager::classifyAllowedWindowSpaceState(const QString& bundleID) const
{
    return classifier_.classify(bundleID);
}

std::vector<AllowedAppVisibilitySnapshot> SessionManager::allowedAppVisibilitySnapshots() const
{
    return classifier_.visibilitySnapshots(state_.currentAllowlist());
}

void SessionManager::scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                                 bool dragDeferrable)
{
    if (redispatchToMainThread(
            [=](SessionManager& self) { self.scheduleAllowedAppsRecovery(reason, targets, dragDeferrable); }))
        return;
    recovery_.schedule(reason, targets, dragDeferrable);
}

void SessionManager::restoreAllowedApp(const QString& bundleID)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.restoreAllowedApp(bundleID); }))
        return;
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring restoreAllowedApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (!state_.dynamicAllowlist.contains(bundleID)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring restoreAllowedApp for non-allowed bundleID=") + bundleID);
        return;
    }
    const AllowedWindowSpaceClassification classification = classifier_.classify(bundleID);
    if (classification.state == AllowedWindowSpaceState::onOtherSpace) {
        notices_.showSessionStatusFeedback(SessionStatusFeedback::appOnOtherSpace);
        logger_.log(VeskLogLevel::info, QStringLiteral("Restore requested for other-Space app — bundleID=%1, %2")
                                            .arg(bundleID, classification.description()));
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Restoring allowed app from minimized/not-visible state — bundleID=") + bundleID);
    // An application waiting in the stage queue has its windows hidden by the
    // stage; revealing it alone would be undone at the stage's next pass.
    services_.stage->restoreIfQueued(bundleID, quickAccessTargetScreenID_.value_or(state_.sessionAnchorScreenID));
    reveal_.start(bundleID);
    recovery_.schedule(QStringLiteral("restoreAllowedApp:") + bundleID, std::set<QString>{bundleID}, false);
}

// MARK: - Screenshot and reflection

void SessionManager::requestScreenshot(const QDateTime& date)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.requestScreenshot(date); }))
        return;
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring screenshot request because no active session is available"));
        return;
    }
    const auto result = services_.screenshotService->captureAndSave(date);
    if (result.filePath)
        logger_.log(VeskLogLevel::info, QStringLiteral("Session screenshot captured — path=") + *result.filePath);
    else
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to capture session screenshot: ") + result.errorDescription);
    notices_.showScreenshotFeedback(result.filePath ? SessionScreenshotFeedback::saved
                                                    : SessionScreenshotFeedback::failed);
}

void SessionManager::saveReflection(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
                                    const std::optional<QString>& note,
                                    std::optional<ReflectionReasonCategory> reasonCategory, const QDateTime& answeredAt)
{
    reflection_.save(goalStatus, helpful, note, reasonCategory, answeredAt);
}

void SessionManager::dismissReflection()
{
    reflection_.dismiss();
}

} // namespace vesk
