#include "session/SessionManager.h"

#include "analytics/AnalyticsDurationBucket.h"
#include "analytics/MonitorCountBucket.h"
#include "analytics/SetupDurationBucket.h"
#include "core/Geometry.h"
#include "core/MainThread.h"
#include "core/TextFormat.h"
#include "overlay/OverlayLogText.h"
#include "store/GoalRule.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

QString screenDescription(const platform::ScreenInfo& screen)
{
    return QStringLiteral("[%1]%2{frame=%3,visible=%4,scale=%5}")
        .arg(StageVeskScreenID::of(screen).rawValue)
        .arg(screen.name, toString(rectFromQRectF(screen.frame)), toString(rectFromQRectF(screen.visibleFrame)),
             QString::number(screen.scale, 'f', 1));
}

} // namespace

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

bool SessionManager::rejectStale(const QUuid& lifecycleID, VeskLogLevel level, const QString& message) const
{
    if (state_.isCurrentLifecycle(lifecycleID))
        return false;
    logger_.log(level, message + uuidText(lifecycleID));
    return true;
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

void SessionManager::clearNotices()
{
    pendingScreenshotFeedbackReset_.cancelAndClear();
    assign(screenshotFeedback_, std::optional<SessionScreenshotFeedback>(), &SessionManager::screenshotFeedbackChanged);
    pendingSessionStatusFeedbackReset_.cancelAndClear();
    assign(sessionStatusFeedback_, std::optional<SessionStatusFeedback>(),
           &SessionManager::sessionStatusFeedbackChanged);
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
    clearNotices();
    assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
    cancelPendingSessionWork();
    flight_.cancelAll();

    // The marker row comes before the first log line of the session.
    services_.logSessionStart(durationSeconds, allowedBundleIDs);

    changeAllowlist([&] { state_.dynamicAllowlist = DynamicAllowlistState(allowedBundleIDs, {}); });
    state_.initiallyRunningAllowedBundleIDs = lookup_.runningAllowedBundleIDs(allowedBundleIDs);
    state_.veskStartedBundleIDs.clear();
    state_.appURLsByBundleID = appURLs;
    state_.allPersistedAllowedBundleIDs = allowedBundleIDs;
    state_.sessionDurationSeconds = durationSeconds;
    state_.sessionStartedAt = startedAt;
    exits_.setRemainingSeconds(durationSeconds);
    assign(currentGoal_, normalizedGoal, &SessionManager::currentGoalChanged);
    assign(state_.isSessionActive, true, &SessionManager::isSessionActiveChanged);
    assign(state_.isStartingSession, true, &SessionManager::isStartingSessionChanged);
    state_.activeLifecycleID = lifecycleID;
    state_.activeFocusSessionID = focusSessionID;
    assign(state_.isHardcoreSession, hardcore, &SessionManager::isHardcoreSessionChanged);

    captureSessionAnchorScreen();

    logger_.log(VeskLogLevel::info,
                QStringLiteral("Starting session — lifecycle=%1, duration=%2s, apps=%3, hasGoal=%4, hardcore=%5")
                    .arg(uuidText(lifecycleID))
                    .arg(durationSeconds)
                    .arg(sortedArrayText(allowedBundleIDs), boolText(normalizedGoal.has_value()), boolText(hardcore)));

    const auto screenCount = services_.screens->screens().size();
    const auto stagePhase = services_.stage->defaultScreenPhase();
    services_.analytics->track(AnalyticsEvent::SessionStarted{
        analyticsDurationBucket(durationSeconds),
        static_cast<int>(allowedBundleIDs.size()),
        hardcore,
        setupDurationBucket(setupSeconds),
        monitorCountBucket(static_cast<qint64>(screenCount)),
        toRaw(stagePhase.value_or(StageVeskPhase::freestyle)),
        normalizedGoal.has_value(),
    });

    logger_.log(VeskLogLevel::info,
                QStringLiteral("Post-session app restoration offer disabled — disallowed apps are hidden "
                               "during VESK, not relaunched afterward"));
    logger_.log(VeskLogLevel::info, QStringLiteral("Captured initially running allowed apps — bundleIDs=")
                                        + sortedArrayText(state_.initiallyRunningAllowedBundleIDs));

    records_.persistStart(focusSessionID, startedAt, durationSeconds, normalizedGoal);

    services_.emergencyHotkey->activate(sessionHandler(lifecycleID, &SessionManager::handleEmergencyHotkey));
    services_.screenshotThumbnailSuppression->activate();
    services_.spaceBlocker->activate(allowedBundleIDs, hardcore);
    services_.spaceTransitionProbe->activate(allowedBundleIDs);
    services_.spaceMonitor->activate(queuedSessionHandler(lifecycleID, &SessionManager::handleSpaceChange));
    services_.desktopIsolation->activate();
    services_.uiController->hideMainWindow();
    launcher_.launchInitialAllowlist(allowedBundleIDs, appURLs);
    installStartHandlers(lifecycleID);

    services_.allowedWindowWaiter->waitForAllowedWindows(state_.currentAllowlist(),
                                                         sessionHandler(lifecycleID,
                                                                        &SessionManager::completeSessionStart));
}

// The overlay's reports of missing and covered windows are in place before it
// is activated, during the wait for the allowed windows.
void SessionManager::installStartHandlers(const QUuid& lifecycleID)
{
    OverlayControlling& overlay = *services_.overlay;
    overlay.setAllowedWindowsTemporarilyMissingHandler(
        sessionHandler(lifecycleID, &SessionManager::handleAllowedWindowsTemporarilyMissing));
    overlay.setAllowedWindowsMissingHandler(sessionHandler(lifecycleID, &SessionManager::handleAllowedWindowsMissing));
    overlay.setAllowedWindowsOccludedHandler(
        sessionHandler(lifecycleID, &SessionManager::handleAllowedWindowsOccluded));
}

void SessionManager::completeSessionStart(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::warning,
                    QStringLiteral("Ignoring stale start completion for lifecycle=")))
        return;
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Skipping session completion because session is no longer active"));
        return;
    }

    const std::set<QString> allowlist = state_.currentAllowlist();
    logSessionStartDisplayContext(lifecycleID, allowlist);

    services_.overlay->activate(allowlist);
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    installCompletionHandlers(lifecycleID);
    services_.mouseBlocker->activate(allowlist);
    services_.kiosk->activate();

    services_.appMonitor->setDisallowedAppHiddenHandler(
        sessionHandler(lifecycleID, &SessionManager::handleDisallowedAppHidden));
    services_.appMonitor->setAppLaunchNeedingDecisionHandler(
        sessionHandler(lifecycleID, &SessionManager::handleAppLaunchNeedingDecision));
    services_.appMonitor->activate(allowlist);

    services_.stage->setOnAppFullyClosed(queuedSessionHandler(lifecycleID, &SessionManager::handleAppFullyClosed));
    services_.stage->activate(allowlist, lookup_.displayNames(allowlist), state_.sessionAnchorScreenID);

    services_.uiController->showStageVeskPanel(*this, *services_.stage);
    services_.uiController->showHUD(*this);
    services_.transitionPresenter->dismissEnteringTransition(false);
    if (state_.sessionDurationSeconds > 0)
        exits_.startCountdown(lifecycleID);
    assign(state_.isStartingSession, false, &SessionManager::isStartingSessionChanged);
    recovery_.schedule(QStringLiteral("sessionStart"), std::nullopt, false);
    logger_.log(VeskLogLevel::info, QStringLiteral("Session started successfully"));
}

// The holes reach the mouse blocker at once, inside the overlay's frame; the
// rest reaches the manager through the main queue.
void SessionManager::installCompletionHandlers(const QUuid& lifecycleID)
{
    OverlayControlling& overlay = *services_.overlay;
    overlay.setPassthroughRectsChangedHandler(sessionHandler(lifecycleID, &SessionManager::forwardPassthroughRects));
    overlay.setAllowedWindowMotionHandler(
        queuedSessionHandler(lifecycleID, &SessionManager::handleAllowedWindowMotion));
    overlay.setSeamDragHandoffHandler(queuedSessionHandler(lifecycleID, &SessionManager::handleSeamDragHandoff));
    services_.mouseBlocker->setAllowedWindowControlClickHandler(
        queuedSessionHandler(lifecycleID, &SessionManager::handleAllowedWindowControlClick));
    services_.mouseBlocker->setClickObserver([self = QPointer<SessionManager>(this)](Point point) {
        if (self)
            self->handleClickObserved(point);
    });
}

void SessionManager::captureSessionAnchorScreen()
{
    std::optional<StageVeskScreenID> screen = services_.mainWindowScreenID();
    QString source = QStringLiteral("mainWindow");
    if (!screen) {
        screen = StageVeskScreenID::forPoint(*services_.screens, services_.mouseLocation());
        source = QStringLiteral("pointer");
    }
    if (!screen) {
        screen = StageVeskScreenID::mainScreenID(*services_.screens);
        source = QStringLiteral("fallback");
    }
    state_.sessionAnchorScreenID = *screen;
    logger_.log(VeskLogLevel::info, QStringLiteral("Session anchor screen captured — screenID=%1, source=%2")
                                        .arg(state_.sessionAnchorScreenID.rawValue)
                                        .arg(source));
}

void SessionManager::logSessionStartDisplayContext(const QUuid& lifecycleID, const std::set<QString>& allowlist)
{
    const auto main = services_.screens->mainScreen();
    const Point pointer = services_.mouseLocation();
    const auto pointerScreen = StageVeskScreenID::forPoint(*services_.screens, pointer);
    QStringList screens;
    for (const auto& screen : services_.screens->screens())
        screens << screenDescription(screen);
    const auto runningApps = services_.workspace->runningApplications();
    QStringList allowed;
    for (const QString& bundleID : allowlist) {
        const auto it = std::find_if(runningApps.begin(), runningApps.end(),
                                     [&](const auto& app) { return app->bundleIdentifier() == bundleID; });
        const bool running = it != runningApps.end();
        allowed << QStringLiteral("%1{running=%2,hidden=%3,pid=%4}")
                       .arg(bundleID, boolText(running), boolText(running && (*it)->isHidden()),
                            running ? QString::number((*it)->processIdentifier()) : QStringLiteral("nil"));
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Session start display context — lifecycle=%1, main=%2, pointer=%3, pointerScreen=%4, "
                               "frontmost=%5, screens=[%6], allowed=[%7]")
                    .arg(uuidText(lifecycleID), main ? screenDescription(*main) : QStringLiteral("none"),
                         toString(pointer),
                         pointerScreen ? QString::number(pointerScreen->rawValue) : QStringLiteral("none"),
                         services_.frontmostBundleID().value_or(QStringLiteral("none")),
                         screens.join(QStringLiteral("; ")), allowed.join(QStringLiteral("; "))));
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

    services_.mouseBlocker->setAllowedWindowControlClickHandler({});
    services_.overlay->setPassthroughRectsChangedHandler({});

    services_.mouseBlocker->deactivate();
    services_.spaceTransitionProbe->deactivate();
    services_.spaceMonitor->deactivate();
    services_.spaceBlocker->deactivate();
    services_.screenshotThumbnailSuppression->deactivate();
    exits_.stopCountdown();
    clearNotices();

    services_.uiController->dismissQuickAccessPanel();
    services_.uiController->dismissBugReportPanel();
    services_.uiController->dismissStageVeskPanel();
    services_.uiController->dismissHUD();

    services_.stage->setOnAppFullyClosed({});
    services_.stage->deactivate();

    services_.appMonitor->setDisallowedAppHiddenHandler({});
    services_.appMonitor->setAppLaunchNeedingDecisionHandler({});
    services_.appMonitor->deactivate();

    allowlist_.clearPrompt();
    state_.sessionAnchorScreenID = StageVeskScreenID{};
    services_.uiController->dismissAppLaunchPrompt();

    services_.overlay->setAllowedWindowsMissingHandler({});
    services_.overlay->setAllowedWindowsTemporarilyMissingHandler({});
    services_.overlay->setAllowedWindowsOccludedHandler({});
    services_.overlay->deactivate();

    services_.kiosk->deactivate();
    services_.desktopIsolation->deactivate();
    services_.emergencyHotkey->deactivate();
    services_.transitionPresenter->dismissEnteringTransition(false);

    if (disposition == SessionExitAppDisposition::terminateAllowedApps)
        exits_.quitAllowedApps(allowlist, veskStarted, initiallyRunning);

    records_.persistStop(endReason, stoppedAt);

    if (focusSessionID && startedAt) {
        assign(pendingReflection_,
               std::optional<SessionReflectionPrompt>(
                   SessionReflectionPrompt{*focusSessionID, *startedAt, stoppedAt, durationSeconds, endReason, goal}),
               &SessionManager::pendingReflectionChanged);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Prepared post-session reflection prompt — focusSessionID=%1, hasGoal=%2")
                        .arg(uuidText(*focusSessionID), boolText(goal.has_value())));
    } else {
        assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Skipped post-session reflection prompt because session identity "
                                   "or start date was missing"));
    }

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
    clearNotices();
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

// MARK: - Handlers of the services

void SessionManager::handleEmergencyHotkey(const QUuid& lifecycleID)
{
    exits_.handleEmergencyHotkey(lifecycleID);
}

void SessionManager::handleSpaceChange(const QUuid& lifecycleID, const SpaceChangeContext& context)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale space-change callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Unexpected active Space change during VESK session — frontmost=%1, sinceActivation=%2")
                    .arg(context.frontmostBundleID.value_or(QStringLiteral("nil")))
                    .arg(context.changesSinceActivation));
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("spaceChangedUnexpectedly"));
    recovery_.schedule(QStringLiteral("spaceChangedUnexpectedly"), std::nullopt, false);
}

void SessionManager::handleAllowedWindowsOccluded(const QUuid& lifecycleID, const std::set<QString>& bundleIDs)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale occlusion callback for lifecycle=")))
        return;
    recovery_.handleWindowsOccluded(bundleIDs);
}

void SessionManager::handleAllowedWindowsTemporarilyMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale temporary-missing callback for lifecycle=")))
        return;
    recovery_.handleWindowsTemporarilyMissing();
}

void SessionManager::handleAllowedWindowsMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale missing-window callback for lifecycle=")))
        return;
    recovery_.confirmMissingWindows(lifecycleID);
}

void SessionManager::forwardPassthroughRects(const QUuid& lifecycleID, const std::vector<Rect>& rects)
{
    if (!state_.isCurrentLifecycle(lifecycleID))
        return;
    services_.mouseBlocker->setVisiblePassthroughRects(rects);
}

void SessionManager::handleAllowedWindowMotion(const QUuid& lifecycleID,
                                               const std::vector<OverlayWindowMotionEvent>& events)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale allowed-window motion callback for lifecycle=")))
        return;
    const std::set<QString> allowlist = state_.currentAllowlist();
    for (const OverlayWindowMotionEvent& event : events) {
        if (!allowlist.contains(event.bundleID))
            continue;
        std::optional<StageVeskScreenID> pointerScreen;
        if (event.pointerCocoaPoint)
            pointerScreen = StageVeskScreenID::forPoint(*services_.screens, *event.pointerCocoaPoint);
        services_.stage->syncUserDrag(event.bundleID, event.pointerCocoaPoint, pointerScreen, event.currentRect);
    }
}

void SessionManager::handleSeamDragHandoff(const QUuid& lifecycleID, const QString& bundleID, Point point)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale seam-drag handoff callback for lifecycle=")))
        return;
    if (state_.currentAllowlist().contains(bundleID))
        services_.stage->handleSeamDragHandoff(bundleID, point);
}

void SessionManager::handleAllowedWindowControlClick(const QUuid& lifecycleID, const QString& bundleID,
                                                     MouseBlockerControlAction action, Point clickPoint)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale window-control click callback for lifecycle=")))
        return;
    if (!state_.currentAllowlist().contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring window-control click for non-allowed app — bundleID=") + bundleID);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Handling allowed window control action via Vesk — bundleID=%1, action=%2")
                    .arg(bundleID, toRaw(action)));
    const QString reason = QStringLiteral("allowedWindowControlClick");
    switch (action) {
    case MouseBlockerControlAction::close:
        services_.overlay->suppressPassthroughImmediately(bundleID, reason);
        services_.stage->closeApp(bundleID, clickPoint, false);
        break;
    case MouseBlockerControlAction::minimize:
        // The window is parked in the stage queue instead of being minimised.
        services_.overlay->suppressPassthroughImmediately(bundleID, reason);
        services_.stage->moveToQueue(bundleID);
        break;
    case MouseBlockerControlAction::zoom:
        services_.stage->toggleZoom(bundleID);
        break;
    }
}

void SessionManager::handleClickObserved(Point clickPoint)
{
    services_.appMonitor->setLastUserClickAt(clock_.now());
    services_.uiController->handleGlobalClick(clickPoint);
}

void SessionManager::handleDisallowedAppHidden(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale disallowed-app callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Disallowed app hidden during active session — bundleID=%1, scheduling "
                               "allowed-app recovery")
                    .arg(bundleID));
    recovery_.schedule(QStringLiteral("disallowedAppHidden:") + bundleID, std::nullopt, false);
}

void SessionManager::handleAppLaunchNeedingDecision(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-launch-decision callback for lifecycle=")))
        return;
    if (allowlist_.presentPrompt(bundleID))
        services_.uiController->showAppLaunchPrompt(*this);
}

void SessionManager::handleAppFullyClosed(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-fully-closed callback for lifecycle=")))
        return;
    changeAllowlist([&] { allowlist_.handleAppFullyClosed(bundleID); });
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
        showNotice(sessionStatusFeedback_, SessionStatusFeedback::appOnOtherSpace,
                   &SessionManager::sessionStatusFeedbackChanged, pendingSessionStatusFeedbackReset_);
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
    showNotice(screenshotFeedback_,
               result.filePath ? SessionScreenshotFeedback::saved : SessionScreenshotFeedback::failed,
               &SessionManager::screenshotFeedbackChanged, pendingScreenshotFeedbackReset_);
}

void SessionManager::saveReflection(std::optional<GoalStatus> goalStatus, std::optional<VeskHelpful> helpful,
                                    const std::optional<QString>& note,
                                    std::optional<ReflectionReasonCategory> reasonCategory, const QDateTime& answeredAt)
{
    if (!pendingReflection_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring reflection save because no pending reflection is available"));
        return;
    }
    const QUuid focusSessionID = pendingReflection_->id;
    const std::optional<QString> normalizedNote = noteRule(note);
    const auto stored = services_.sessionStore->updateSessionReflection(focusSessionID, goalStatus, helpful,
                                                                        normalizedNote, answeredAt);
    if (!stored) {
        // The card stays, so the answers can be saved again.
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to save post-session reflection: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Post-session reflection saved — focusSessionID=%1, goalStatus=%2, veskHelpful=%3, hasNote=%4")
                    .arg(uuidText(focusSessionID), goalStatus ? toRaw(*goalStatus) : QStringLiteral("nil"),
                         helpful ? toRaw(*helpful) : QStringLiteral("nil"), boolText(normalizedNote.has_value())));
    services_.analytics->track(AnalyticsEvent::ReflectionAnswered{goalStatus, helpful, reasonCategory});
    assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
}

void SessionManager::dismissReflection()
{
    if (!pendingReflection_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring reflection dismissal because no pending reflection is available"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Post-session reflection dismissed without saving — focusSessionID=")
                                        + uuidText(pendingReflection_->id));
    services_.analytics->track(AnalyticsEvent::ReflectionSkipped{});
    assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
}

} // namespace vesk
