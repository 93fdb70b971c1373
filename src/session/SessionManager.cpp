#include "session/SessionManager.h"

#include "analytics/AnalyticsDurationBucket.h"
#include "analytics/MonitorCountBucket.h"
#include "analytics/SetupDurationBucket.h"
#include "overlay/DisplayGeometry.h"
#include "store/GoalRule.h"
#include "core/RawValue.h"
#include "core/Geometry.h"
#include "core/MainThread.h"
#include "core/TextFormat.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

const QString finderBundleID = QStringLiteral("com.apple.finder");

QStringList sortedList(const std::set<QString>& ids)
{
    return QStringList(ids.begin(), ids.end());
}

QString sortedArrayText(const std::set<QString>& ids)
{
    return arrayText(sortedList(ids));
}

// "[com.a:[12, 13], com.b:[14]]", entries sorted.
QString processIdentifierListText(const std::map<QString, std::set<qint32>>& pids)
{
    QStringList entries;
    for (const auto& [bundleID, ids] : pids) {
        QStringList numbers;
        for (qint32 pid : ids)
            numbers << QString::number(pid);
        entries << bundleID + QStringLiteral(":[") + numbers.join(QStringLiteral(", ")) + QStringLiteral("]");
    }
    entries.sort();
    return QStringLiteral("[") + entries.join(QStringLiteral(", ")) + QStringLiteral("]");
}

QString runningApplicationText(const RunningApplicationControlling& app)
{
    return QStringLiteral("bundleID=%1, pid=%2, policy=%3, hidden=%4, terminated=%5")
        .arg(app.bundleIdentifier().value_or(QStringLiteral("nil")))
        .arg(app.processIdentifier())
        .arg(toRaw(app.activationPolicy()), boolText(app.isHidden()), boolText(app.isTerminated()));
}

QString twoDecimals(double value)
{
    return QString::number(value, 'f', 2);
}

} // namespace

SessionManager::SessionManager(SessionServices services, Scheduler& scheduler, Clock& clock, Timing timing,
                               QObject* parent)
    : QObject(parent)
    , services_(std::move(services))
    , scheduler_(scheduler)
    , clock_(clock)
    , timing_(std::move(timing))
{
    auto& offsets = timing_.revealRetryOffsets;
    offsets.erase(std::remove_if(offsets.begin(), offsets.end(), [](double offset) { return !(offset >= 0); }),
                  offsets.end());
    std::sort(offsets.begin(), offsets.end());
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
    const std::set<QString> allowed = currentAllowlist();
    return QStringLiteral("active=%1, starting=%2, stopping=%3, allowed=%4, runningAllowed=%5, veskStarted=%6, "
                          "initiallyRunning=%7")
        .arg(boolText(isSessionActive_), boolText(isStartingSession_), boolText(isStoppingSession_),
             sortedArrayText(allowed), sortedArrayText(runningAllowedBundleIDs(allowed)),
             sortedArrayText(veskStartedBundleIDs_), sortedArrayText(initiallyRunningAllowedBundleIDs_));
}

bool SessionManager::isCurrentLifecycle(const QUuid& lifecycleID) const
{
    return activeLifecycleID_ && *activeLifecycleID_ == lifecycleID;
}

bool SessionManager::rejectStale(const QUuid& lifecycleID, VeskLogLevel level, const QString& message) const
{
    if (isCurrentLifecycle(lifecycleID))
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

// MARK: - Workspace lookups

std::set<QString> SessionManager::runningAllowedBundleIDs(const std::set<QString>& bundleIDs) const
{
    std::set<QString> running;
    if (bundleIDs.empty())
        return running;
    for (const auto& app : services_.workspace->runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        if (bundleID && bundleIDs.contains(*bundleID) && !app->isTerminated()
            && app->activationPolicy() == ApplicationActivationPolicy::regular)
            running.insert(*bundleID);
    }
    return running;
}

std::shared_ptr<RunningApplicationControlling> SessionManager::runningApplication(const QString& bundleID) const
{
    for (const auto& app : services_.workspace->runningApplications()) {
        if (app->bundleIdentifier() == bundleID && !app->isTerminated())
            return app;
    }
    return nullptr;
}

std::optional<QUrl> SessionManager::applicationURL(const QString& bundleID) const
{
    if (const auto it = appURLsByBundleID_.find(bundleID); it != appURLsByBundleID_.end())
        return it->second;
    return services_.workspace->urlForApplication(bundleID);
}

std::pair<QString, QString> SessionManager::displayNameEntry(const QString& bundleID) const
{
    const auto url = applicationURL(bundleID);
    if (!url)
        return {bundleID, bundleID};
    QString name = QFileInfo(url->toLocalFile()).fileName();
    if (name.endsWith(QStringLiteral(".app")))
        name.chop(4);
    return {bundleID, name.isEmpty() ? bundleID : name};
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

    if (isSessionActive_ || isStartingSession_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("startSession called during an active or transitioning session"));
        return;
    }

    const QUuid lifecycleID = QUuid::createUuid();
    const QDateTime startedAt = clock_.now();
    const QUuid focusSessionID = QUuid::createUuid();
    const std::optional<QString> normalizedGoal = goalRule(goal);

    services_.transitionPresenter->showEnteringTransition();
    cancelPendingScreenshotFeedbackReset();
    cancelPendingSessionStatusFeedbackReset();
    assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
    cancelAllPendingDynamicReveals();
    cancelPendingFailOpenConfirmation();
    cancelPendingAllowedAppsRecovery();
    cancelPendingTerminationVerification();
    cancelAllWindowMaterializationTimeouts();

    // The marker row comes before the first log line of the session.
    services_.logSessionStart(durationSeconds, allowedBundleIDs);

    dynamicAllowlist_ = DynamicAllowlistState(allowedBundleIDs, {});
    initiallyRunningAllowedBundleIDs_ = runningAllowedBundleIDs(allowedBundleIDs);
    veskStartedBundleIDs_.clear();
    appURLsByBundleID_ = appURLs;
    allPersistedAllowedBundleIDs_ = allowedBundleIDs;
    sessionDurationSeconds_ = durationSeconds;
    sessionStartedAt_ = startedAt;
    assign(remainingSeconds_, durationSeconds, &SessionManager::remainingSecondsChanged);
    assign(currentGoal_, normalizedGoal, &SessionManager::currentGoalChanged);
    assign(isSessionActive_, true, &SessionManager::isSessionActiveChanged);
    assign(isStartingSession_, true, &SessionManager::isStartingSessionChanged);
    activeLifecycleID_ = lifecycleID;
    activeFocusSessionID_ = focusSessionID;
    assign(isHardcoreSession_, hardcore, &SessionManager::isHardcoreSessionChanged);

    captureSessionAnchorScreen();

    logger_.log(VeskLogLevel::info, QStringLiteral("Starting session — lifecycle=%1, duration=%2s, apps=%3, hasGoal=%4, hardcore=%5")
                                        .arg(uuidText(lifecycleID))
                                        .arg(durationSeconds)
                                        .arg(sortedArrayText(allowedBundleIDs), boolText(normalizedGoal.has_value()),
                                             boolText(hardcore)));

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

    logger_.log(VeskLogLevel::info, QStringLiteral("Post-session app restoration offer disabled — disallowed apps are hidden "
                                                   "during VESK, not relaunched afterward"));
    logger_.log(VeskLogLevel::info, QStringLiteral("Captured initially running allowed apps — bundleIDs=")
                                        + sortedArrayText(initiallyRunningAllowedBundleIDs_));

    persistSessionStart(focusSessionID, startedAt, durationSeconds, normalizedGoal);

    const QPointer<SessionManager> self(this);
    services_.emergencyHotkey->activate([self, lifecycleID] {
        if (self)
            self->handleEmergencyHotkey(lifecycleID);
    });
    services_.screenshotThumbnailSuppression->activate();
    services_.spaceBlocker->activate(allowedBundleIDs, hardcore);
    services_.spaceTransitionProbe->activate(allowedBundleIDs);
    services_.spaceMonitor->activate([self, lifecycleID, &scheduler = scheduler_](const SpaceChangeContext& context) {
        scheduler.async([self, lifecycleID, context] {
            if (self)
                self->handleSpaceChange(lifecycleID, context);
        });
    });
    services_.desktopIsolation->activate();
    services_.uiController->hideMainWindow();
    launchInitialAllowlist(allowedBundleIDs, appURLs);
    installStartCallbacks(lifecycleID);

    services_.allowedWindowWaiter->waitForAllowedWindows(currentAllowlist(), [self, lifecycleID, durationSeconds] {
        if (self)
            self->completeSessionStart(lifecycleID, durationSeconds);
    });
}

void SessionManager::installStartCallbacks(const QUuid& lifecycleID)
{
    const QPointer<SessionManager> self(this);
    OverlayControlling& overlay = *services_.overlay;
    overlay.onAllowedWindowsTemporarilyMissing = [self, lifecycleID] {
        if (self)
            self->handleAllowedWindowsTemporarilyMissing(lifecycleID);
    };
    overlay.onAllowedWindowsMissing = [self, lifecycleID] {
        if (self)
            self->handleAllowedWindowsMissing(lifecycleID);
    };
    overlay.allowedWindowsOccludedHandler = [self, lifecycleID](const std::set<QString>& bundleIDs) {
        if (self)
            self->handleAllowedWindowsOccluded(lifecycleID, bundleIDs);
    };
}

void SessionManager::completeSessionStart(const QUuid& lifecycleID, int durationSeconds)
{
    if (rejectStale(lifecycleID, VeskLogLevel::warning, QStringLiteral("Ignoring stale start completion for lifecycle=")))
        return;
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Skipping session completion because session is no longer active"));
        return;
    }

    const std::set<QString> allowlist = currentAllowlist();
    logSessionStartDisplayContext(lifecycleID, allowlist);

    services_.overlay->activate(allowlist);
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    installCompletionHandlers(lifecycleID);
    services_.mouseBlocker->activate(allowlist);
    services_.kiosk->activate();

    const QPointer<SessionManager> self(this);
    services_.appMonitor->setDisallowedAppHiddenHandler([self, lifecycleID](const QString& bundleID) {
        if (self)
            self->handleDisallowedAppHidden(lifecycleID, bundleID);
    });
    services_.appMonitor->setAppLaunchNeedingDecisionHandler([self, lifecycleID](const QString& bundleID) {
        if (self)
            self->handleAppLaunchNeedingDecision(lifecycleID, bundleID);
    });
    services_.appMonitor->activate(allowlist);

    services_.stage->setOnAppFullyClosed([self, lifecycleID, &scheduler = scheduler_](const QString& bundleID) {
        scheduler.async([self, lifecycleID, bundleID] {
            if (self)
                self->appFullyClosedCallback(lifecycleID, bundleID);
        });
    });
    StageVeskControlling::DisplayNames displayNames;
    for (const QString& bundleID : allowlist)
        displayNames.insert(displayNameEntry(bundleID));
    services_.stage->activate(allowlist, displayNames, sessionAnchorScreenID_);

    services_.uiController->showStageVeskPanel(*this, *services_.stage);
    services_.uiController->showHUD(*this);
    services_.transitionPresenter->dismissEnteringTransition(false);
    if (durationSeconds > 0)
        startSessionTimer(lifecycleID);
    assign(isStartingSession_, false, &SessionManager::isStartingSessionChanged);
    scheduleAllowedAppsRecovery(QStringLiteral("sessionStart"), std::nullopt, false);
    logger_.log(VeskLogLevel::info, QStringLiteral("Session started successfully"));
}

void SessionManager::installCompletionHandlers(const QUuid& lifecycleID)
{
    const QPointer<SessionManager> self(this);
    OverlayControlling& overlay = *services_.overlay;
    overlay.passthroughRectsChangedHandler = [self, lifecycleID](const std::vector<Rect>& rects) {
        if (self)
            self->forwardPassthroughRects(lifecycleID, rects);
    };
    overlay.allowedWindowMotionHandler = [self, lifecycleID, &scheduler = scheduler_](const std::vector<OverlayWindowMotionEvent>& events) {
        scheduler.async([self, lifecycleID, events] {
            if (self)
                self->handleAllowedWindowMotion(lifecycleID, events);
        });
    };
    overlay.seamDragHandoffHandler = [self, lifecycleID, &scheduler = scheduler_](const QString& bundleID, Point point) {
        scheduler.async([self, lifecycleID, bundleID, point] {
            if (self)
                self->handleSeamDragHandoff(lifecycleID, bundleID, point);
        });
    };
    services_.mouseBlocker->setAllowedWindowControlClickHandler(
        [self, lifecycleID, &scheduler = scheduler_](const QString& bundleID, MouseBlockerControlAction action, Point point) {
            scheduler.async([self, lifecycleID, bundleID, action, point] {
                if (self)
                    self->handleAllowedWindowControlClick(lifecycleID, bundleID, action, point);
            });
        });
    services_.mouseBlocker->setClickObserver([self](Point point) {
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
    sessionAnchorScreenID_ = *screen;
    logger_.log(VeskLogLevel::info, QStringLiteral("Session anchor screen captured — screenID=%1, source=%2")
                                        .arg(sessionAnchorScreenID_.rawValue)
                                        .arg(source));
}

QString SessionManager::screenDescription(const platform::ScreenInfo& screen) const
{
    return QStringLiteral("[%1]%2{frame=%3,visible=%4,scale=%5}")
        .arg(StageVeskScreenID::of(screen).rawValue)
        .arg(screen.name, toString(rectFromQRectF(screen.frame)), toString(rectFromQRectF(screen.visibleFrame)),
             QString::number(screen.scale, 'f', 1));
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

void SessionManager::persistSessionStart(const QUuid& focusSessionID, const QDateTime& startedAt, int durationSeconds,
                                         const std::optional<QString>& goal)
{
    const auto closed = services_.sessionStore->closeActiveSessions(startedAt, SessionEndReason::crash);
    if (!closed) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to persist session start: ") + closed.error().description);
        return;
    }
    if (closed.value() >= 1)
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Closed %1 stale active FocusSession records before starting a new session")
                        .arg(closed.value()));
    const auto created = services_.sessionStore->createSessionRecord(
        focusSessionID, startedAt, durationSeconds, goal, sortedList(currentAllowlist()),
        sortedList(allPersistedAllowedBundleIDs_));
    if (!created) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to persist session start: ") + created.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Persisted session start — focusSessionID=%1, hasGoal=%2")
                                        .arg(uuidText(focusSessionID), boolText(goal.has_value())));
}

void SessionManager::launchInitialAllowlist(const std::set<QString>& allowedBundleIDs,
                                            const std::map<QString, QUrl>& appURLs)
{
    for (const QString& bundleID : allowedBundleIDs) {
        const bool trackAsVeskStarted =
            !initiallyRunningAllowedBundleIDs_.contains(bundleID) && runningApplication(bundleID) == nullptr;
        std::optional<QUrl> url;
        if (const auto it = appURLs.find(bundleID); it != appURLs.end())
            url = it->second;
        else
            url = services_.workspace->urlForApplication(bundleID);
        if (!url) {
            logger_.log(VeskLogLevel::warning, QStringLiteral("Could not find URL for app: ") + bundleID);
            continue;
        }
        launchAllowedApp(bundleID, *url, QStringLiteral("initialAllowlist"), trackAsVeskStarted);
    }
}

void SessionManager::launchAllowedApp(const QString& bundleID, const QUrl& url, const QString& source,
                                      bool trackAsVeskStarted)
{
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    appURLsByBundleID_[bundleID] = url;
    const std::optional<QUuid> launchLifecycleID = activeLifecycleID_;
    const QPointer<SessionManager> self(this);
    services_.workspace->openApplication(
        url, configuration,
        [self, bundleID, source, trackAsVeskStarted, launchLifecycleID,
         &scheduler = scheduler_](std::shared_ptr<RunningApplicationControlling>, std::optional<QString> error) {
            auto complete = [self, bundleID, source, trackAsVeskStarted, launchLifecycleID, error] {
                if (self)
                    self->handleLaunchCompletion(bundleID, source, trackAsVeskStarted, launchLifecycleID, error);
            };
            if (isMainThread())
                complete();
            else
                scheduler.async(complete);
        });
}

void SessionManager::handleLaunchCompletion(const QString& bundleID, const QString& source, bool trackAsVeskStarted,
                                            const std::optional<QUuid>& launchLifecycleID,
                                            const std::optional<QString>& error)
{
    if (error) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to launch %1: %2").arg(bundleID, *error));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Launched allowed app: %1, source=%2, trackAsVeskStarted=%3")
                                        .arg(bundleID, source, boolText(trackAsVeskStarted)));
    if (!trackAsVeskStarted)
        return;
    if (launchLifecycleID == activeLifecycleID_) {
        veskStartedBundleIDs_.insert(bundleID);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Tracked VESK-started app — bundleID=%1, source=%2").arg(bundleID, source));
    } else {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale VESK-started tracking — bundleID=%1, source=%2").arg(bundleID, source));
    }
}

// MARK: - Stop

SessionEndReason SessionManager::resolveStopReason(const QString& reason) const
{
    if (const auto known = fromRaw<SessionEndReason>(reason))
        return *known;
    if (reason == QStringLiteral("emergencyHotkey"))
        return SessionEndReason::emergencyExit;
    if (reason == QStringLiteral("deinit"))
        return SessionEndReason::appTerminate;
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Unknown session stop reason encountered — runtimeReason=%1. Falling back to crash.").arg(reason));
    return SessionEndReason::crash;
}

void SessionManager::stopSession(const QString& reason, SessionExitAppDisposition disposition)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.stopSession(reason, disposition); }))
        return;
    if (isStoppingSession_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("stopSession called while a stop is already in progress"));
        return;
    }
    if (!isSessionActive_ && !isStartingSession_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("stopSession called but no session is active"));
        return;
    }

    // From here on every callback of the session is stale.
    const std::optional<QUuid> lifecycleID = activeLifecycleID_;
    isStoppingSession_ = true;
    activeLifecycleID_.reset();
    assign(isStartingSession_, false, &SessionManager::isStartingSessionChanged);
    assign(isHardcoreSession_, false, &SessionManager::isHardcoreSessionChanged);

    const QDateTime stoppedAt = clock_.now();
    const SessionEndReason endReason = resolveStopReason(reason);

    const std::optional<QUuid> focusSessionID = activeFocusSessionID_;
    const std::optional<QDateTime> startedAt = sessionStartedAt_;
    const int durationSeconds = sessionDurationSeconds_;
    const std::optional<QString> goal = currentGoal_;
    const std::set<QString> allowlist = currentAllowlist();
    const std::set<QString> veskStarted = veskStartedBundleIDs_;
    const std::set<QString> initiallyRunning = initiallyRunningAllowedBundleIDs_;
    const int dynamicCount = static_cast<int>(dynamicAllowlist_.dynamicBundleIDs().size());
    const qint64 elapsedSeconds =
        startedAt ? std::llround(static_cast<double>(startedAt->msecsTo(stoppedAt)) / 1000.0) : 0;

    logger_.log(VeskLogLevel::info,
                QStringLiteral("Stopping session — lifecycle=%1, reason=%2, appDisposition=%3, allowed=%4, "
                               "veskStarted=%5, initiallyRunning=%6")
                    .arg(lifecycleID ? uuidText(*lifecycleID) : QStringLiteral("none"), reason, toRaw(disposition),
                         sortedArrayText(allowlist), sortedArrayText(veskStarted), sortedArrayText(initiallyRunning)));

    services_.analytics->track(
        AnalyticsEvent::SessionEnded{toRaw(endReason), analyticsDurationBucket(elapsedSeconds), dynamicCount});

    services_.allowedWindowWaiter->cancel();
    cancelAllPendingDynamicReveals();
    cancelPendingFailOpenConfirmation();
    cancelPendingAllowedAppsRecovery();
    cancelPendingTerminationVerification();

    services_.mouseBlocker->setAllowedWindowControlClickHandler({});
    services_.overlay->passthroughRectsChangedHandler = {};

    services_.mouseBlocker->deactivate();
    services_.spaceTransitionProbe->deactivate();
    services_.spaceMonitor->deactivate();
    services_.spaceBlocker->deactivate();
    services_.screenshotThumbnailSuppression->deactivate();
    stopSessionTimer();
    cancelPendingScreenshotFeedbackReset();
    cancelPendingSessionStatusFeedbackReset();

    services_.uiController->dismissQuickAccessPanel();
    services_.uiController->dismissBugReportPanel();
    services_.uiController->dismissStageVeskPanel();
    services_.uiController->dismissHUD();

    services_.stage->setOnAppFullyClosed({});
    services_.stage->deactivate();

    services_.appMonitor->setDisallowedAppHiddenHandler({});
    services_.appMonitor->setAppLaunchNeedingDecisionHandler({});
    services_.appMonitor->deactivate();

    assign(pendingAppLaunchPrompt_, std::optional<AppLaunchPrompt>(), &SessionManager::pendingAppLaunchPromptChanged);
    sessionAnchorScreenID_ = StageVeskScreenID{};
    services_.uiController->dismissAppLaunchPrompt();

    services_.overlay->onAllowedWindowsMissing = {};
    services_.overlay->onAllowedWindowsTemporarilyMissing = {};
    services_.overlay->allowedWindowsOccludedHandler = {};
    services_.overlay->deactivate();

    services_.kiosk->deactivate();
    services_.desktopIsolation->deactivate(QStringLiteral("sessionStop"));
    services_.emergencyHotkey->deactivate();
    services_.transitionPresenter->dismissEnteringTransition(false);

    if (disposition == SessionExitAppDisposition::terminateAllowedApps)
        terminateAllowedApps(allowlist, veskStarted, initiallyRunning);

    persistSessionStop(endReason, stoppedAt);

    if (focusSessionID && startedAt) {
        assign(pendingReflection_,
               std::optional<SessionReflectionPrompt>(
                   SessionReflectionPrompt{*focusSessionID, *startedAt, stoppedAt, durationSeconds, endReason, goal}),
               &SessionManager::pendingReflectionChanged);
        logger_.log(VeskLogLevel::info, QStringLiteral("Prepared post-session reflection prompt — focusSessionID=%1, hasGoal=%2")
                                            .arg(uuidText(*focusSessionID), boolText(goal.has_value())));
    } else {
        assign(pendingReflection_, std::optional<SessionReflectionPrompt>(), &SessionManager::pendingReflectionChanged);
        logger_.log(VeskLogLevel::warning, QStringLiteral("Skipped post-session reflection prompt because session identity "
                                                          "or start date was missing"));
    }

    resetSessionState();
    services_.uiController->showMainWindow();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Session stopped successfully — post-session app restoration offer disabled"));
    isStoppingSession_ = false;
}

void SessionManager::resetSessionState()
{
    assign(isSessionActive_, false, &SessionManager::isSessionActiveChanged);
    sessionDurationSeconds_ = 0;
    sessionStartedAt_.reset();
    assign(remainingSeconds_, 0, &SessionManager::remainingSecondsChanged);
    activeFocusSessionID_.reset();
    assign(currentGoal_, std::optional<QString>(), &SessionManager::currentGoalChanged);
    allPersistedAllowedBundleIDs_.clear();
    initiallyRunningAllowedBundleIDs_.clear();
    veskStartedBundleIDs_.clear();
    dynamicAllowlist_ = DynamicAllowlistState();
    appURLsByBundleID_.clear();
}

void SessionManager::terminateAllowedApps(const std::set<QString>& allowlist, const std::set<QString>& veskStarted,
                                          const std::set<QString>& initiallyRunning)
{
    if (allowlist.empty()) {
        logger_.log(VeskLogLevel::info, QStringLiteral("No allowed VESK apps to terminate"));
        return;
    }
    std::vector<std::shared_ptr<RunningApplicationControlling>> candidates;
    for (const auto& app : services_.workspace->runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        // The Finder is never asked to quit.
        if (bundleID && allowlist.contains(*bundleID) && *bundleID != finderBundleID && !app->isTerminated())
            candidates.push_back(app);
    }
    if (candidates.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("No running allowed VESK apps found for explicit termination — allowed=")
                        + sortedArrayText(allowlist));
        return;
    }
    QStringList candidateIDs;
    for (const auto& app : candidates)
        candidateIDs << *app->bundleIdentifier();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Explicit VESK app termination requested — allowed=%1, veskStarted=%2, "
                               "initiallyRunning=%3, candidates=%4")
                    .arg(sortedArrayText(allowlist), sortedArrayText(veskStarted), sortedArrayText(initiallyRunning),
                         arrayText(candidateIDs)));

    std::map<QString, std::set<qint32>> requestedPIDs;
    int returnedTrue = 0;
    for (const auto& app : candidates) {
        const QString bundleID = *app->bundleIdentifier();
        const bool success = app->terminate();
        requestedPIDs[bundleID].insert(app->processIdentifier());
        if (success)
            ++returnedTrue;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Requested allowed VESK app termination — bundleID=%1, pid=%2, veskStarted=%3, "
                                   "initiallyRunning=%4, success=%5")
                        .arg(bundleID)
                        .arg(app->processIdentifier())
                        .arg(boolText(veskStarted.contains(bundleID)), boolText(initiallyRunning.contains(bundleID)),
                             boolText(success)));
    }
    QStringList requestedIDs;
    for (const auto& [bundleID, pids] : requestedPIDs)
        requestedIDs << bundleID;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Allowed VESK app termination requests completed — requestedBundleIDs=%1, "
                               "candidateProcesses=%2, terminateReturnedTrue=%3")
                    .arg(arrayText(requestedIDs))
                    .arg(candidates.size())
                    .arg(returnedTrue));
    scheduleTerminationVerification(allowlist, requestedPIDs);
}

void SessionManager::scheduleTerminationVerification(const std::set<QString>&,
                                                     const std::map<QString, std::set<qint32>>& requestedPIDs)
{
    cancelPendingTerminationVerification();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Scheduled allowed VESK app termination verification — delay=1.5s, "
                                                    "requestedPIDs=")
                                         + processIdentifierListText(requestedPIDs));
    const QPointer<SessionManager> self(this);
    pendingAllowedAppTerminationVerification_ = scheduler_.asyncAfter(1.5, [self, requestedPIDs] {
        if (self)
            self->verifyTermination(requestedPIDs);
    });
}

void SessionManager::verifyTermination(const std::map<QString, std::set<qint32>>& requestedPIDs)
{
    pendingAllowedAppTerminationVerification_ = WorkItem();
    QStringList stillRunning;
    for (const auto& app : services_.workspace->runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        if (!bundleID || app->isTerminated())
            continue;
        const auto it = requestedPIDs.find(*bundleID);
        if (it != requestedPIDs.end() && it->second.contains(app->processIdentifier()))
            stillRunning << runningApplicationText(*app);
    }
    if (!stillRunning.isEmpty())
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed VESK app termination incomplete after graceful quit delay — stillRunning=[%1]")
                        .arg(stillRunning.join(QStringLiteral("; "))));
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Allowed VESK app termination verified — no matching processes still running, "
                                   "requestedPIDs=")
                        + processIdentifierListText(requestedPIDs));
}

void SessionManager::persistSessionStop(SessionEndReason reason, const QDateTime& stoppedAt)
{
    if (!activeFocusSessionID_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping session stop persistence because no active FocusSession ID is available"));
        return;
    }
    const auto stored = services_.sessionStore->stopSessionRecord(*activeFocusSessionID_, stoppedAt, reason,
                                                                  sortedList(currentAllowlist()),
                                                                  sortedList(allPersistedAllowedBundleIDs_));
    if (!stored) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to persist session stop: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Persisted session stop — focusSessionID=%1, reason=%2")
                                        .arg(uuidText(*activeFocusSessionID_), toRaw(reason)));
}

void SessionManager::recoverOrphanedSessions(const QDateTime& now)
{
    const auto recovered = services_.sessionStore->recoverOrphanedSessions(now);
    if (!recovered) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to recover orphaned FocusSession records: ") + recovered.error().description);
        return;
    }
    if (recovered.value() < 1)
        logger_.log(VeskLogLevel::debug, QStringLiteral("No orphaned FocusSession records required launch recovery"));
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Recovered %1 orphaned FocusSession records on launch").arg(recovered.value()));
}

void SessionManager::deinitStop()
{
    cancelAllPendingDynamicReveals();
    cancelPendingFailOpenConfirmation();
    cancelPendingAllowedAppsRecovery();
    cancelPendingTerminationVerification();
    if (isSessionActive_)
        stopSession(QStringLiteral("appTerminate"), SessionExitAppDisposition::leaveOpen);
    // Nothing the session scheduled may outlive the manager.
    cancelPendingScreenshotFeedbackReset();
    cancelPendingSessionStatusFeedbackReset();
    cancelAllWindowMaterializationTimeouts();
    services_.allowedWindowWaiter->cancel();
    stopSessionTimer();
}

// MARK: - Countdown, manual exit, hotkey

void SessionManager::startSessionTimer(const QUuid& lifecycleID)
{
    const QPointer<SessionManager> self(this);
    // The handler runs on the timer's queue and only hops to the main queue.
    timer_ = services_.timerFactory->makeTimer(1.0, [self, lifecycleID, &scheduler = scheduler_] {
        scheduler.async([self, lifecycleID] {
            if (self)
                self->handleTimerTick(lifecycleID);
        });
    });
    logger_.log(VeskLogLevel::debug, QStringLiteral("Session timer started — %1s remaining").arg(remainingSeconds_));
}

void SessionManager::handleTimerTick(const QUuid& lifecycleID)
{
    if (!isCurrentLifecycle(lifecycleID) || !isSessionActive_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignoring timer tick for stale lifecycle=") + uuidText(lifecycleID));
        return;
    }
    assign(remainingSeconds_, remainingSeconds_ - 1, &SessionManager::remainingSecondsChanged);
    if (remainingSeconds_ > 0)
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Session timer expired"));
    stopSession(QStringLiteral("timerExpired"), SessionExitAppDisposition::leaveOpen);
}

void SessionManager::stopSessionTimer()
{
    if (timer_)
        timer_->cancel();
    timer_.reset();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Session timer stopped"));
}

bool SessionManager::isOpenEndedSession() const
{
    return sessionDurationSeconds_ == 0 && (isSessionActive_ || isStartingSession_);
}

QString SessionManager::remainingTimeText(const QDateTime& now) const
{
    if (isOpenEndedSession()) {
        qint64 elapsed = 0;
        if (sessionStartedAt_)
            elapsed = std::max<qint64>(0, std::llround(static_cast<double>(sessionStartedAt_->msecsTo(now)) / 1000.0));
        return QString::asprintf("%02lld:%02lld:%02lld", elapsed / 3600, (elapsed % 3600) / 60, elapsed % 60);
    }
    const int remaining = std::max(0, remainingSeconds_);
    return QString::asprintf("%02d:%02d", remaining / 60, remaining % 60);
}

void SessionManager::requestManualExitConfirmation()
{
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring manual stop confirmation request because no active session is available — ")
                        + sessionDiagnosticsDescription());
        return;
    }
    if (isHardcoreSession_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Ignoring manual stop confirmation request — hardcore session "
                                                          "(only timer/restart end the session)"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD manual exit confirmation shown — ") + sessionDiagnosticsDescription());
}

void SessionManager::confirmManualExit(SessionExitAppDisposition disposition)
{
    if (isHardcoreSession_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring manual stop confirmation — hardcore session (only timer/restart end the session)"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("HUD manual exit confirmed — appDisposition=%1, %2")
                                        .arg(toRaw(disposition), sessionDiagnosticsDescription()));
    stopSession(QStringLiteral("manualStop"), disposition);
}

void SessionManager::debugForceStop()
{
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring debug force stop — no active session — ") + sessionDiagnosticsDescription());
        return;
    }
    logger_.log(VeskLogLevel::warning, QStringLiteral("DEBUG force stop invoked — bypassing hardcore guard, hardcore=")
                                           + boolText(isHardcoreSession_));
    stopSession(QStringLiteral("manualStop"), SessionExitAppDisposition::leaveOpen);
}

void SessionManager::handleEmergencyHotkey(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::warning,
                    QStringLiteral("Ignoring stale emergency hotkey callback for lifecycle=")))
        return;
    if (isHardcoreSession_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Emergency hotkey trigger IGNORED — hardcore session (only "
                                                          "timer/restart end the session)"));
        return;
    }
    stopSession(QStringLiteral("emergencyExit"), SessionExitAppDisposition::leaveOpen);
}

void SessionManager::toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID)
{
    if (!isSessionActive_ || isStoppingSession_) {
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
    logger_.log(VeskLogLevel::info, QStringLiteral("Quick access panel toggled — targetScreenID=%1, resolvedTargetScreenID=%2")
                                        .arg(text(screenID), text(quickAccessTargetScreenID_)));
    services_.uiController->toggleQuickAccessPanel(*this);
}

void SessionManager::toggleBugReportPanel()
{
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring bug report panel toggle because no active session is available"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Bug report panel toggled"));
    services_.uiController->toggleBugReportPanel();
}

// MARK: - Pending delayed work

void SessionManager::cancelPendingScreenshotFeedbackReset()
{
    pendingScreenshotFeedbackReset_.cancelAndClear();
    assign(screenshotFeedback_, std::optional<SessionScreenshotFeedback>(), &SessionManager::screenshotFeedbackChanged);
}

void SessionManager::cancelPendingSessionStatusFeedbackReset()
{
    pendingSessionStatusFeedbackReset_.cancelAndClear();
    assign(sessionStatusFeedback_, std::optional<SessionStatusFeedback>(),
           &SessionManager::sessionStatusFeedbackChanged);
}

void SessionManager::cancelAllPendingDynamicReveals()
{
    std::size_t count = 0;
    for (auto& [bundleID, items] : pendingDynamicRevealWorkItems_) {
        for (WorkItem& item : items) {
            item.cancel();
            ++count;
        }
    }
    pendingDynamicRevealWorkItems_.clear();
    if (count > 0)
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Cancelled all pending dynamic reveal retries — count=%1").arg(count));
}

void SessionManager::cancelPendingFailOpenConfirmation()
{
    if (pendingAllowedWindowsMissingConfirmation_.cancelAndClear())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Cancelled pending fail-open confirmation"));
}

void SessionManager::cancelPendingAllowedAppsRecovery()
{
    if (pendingAllowedAppsRecoveryWorkItem_.cancelAndClear())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Cancelled pending allowed-app recovery"));
}

void SessionManager::cancelPendingTerminationVerification()
{
    pendingAllowedAppTerminationVerification_.cancelAndClear();
}

void SessionManager::cancelAllWindowMaterializationTimeouts()
{
    for (auto& [bundleID, item] : pendingWindowMaterializationTimeouts_)
        item.cancel();
    pendingWindowMaterializationTimeouts_.clear();
}

// MARK: - In-session callbacks

void SessionManager::handleAllowedWindowsOccluded(const QUuid& lifecycleID, const std::set<QString>& bundleIDs)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug, QStringLiteral("Ignoring stale occlusion callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed app windows occluded — scheduling recovery, bundleIDs=")
                                           + sortedArrayText(bundleIDs));
    scheduleAllowedAppsRecovery(QStringLiteral("allowedWindowsOccluded"), bundleIDs, true);
}

void SessionManager::handleAllowedWindowsTemporarilyMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale temporary-missing callback for lifecycle=")))
        return;
    if (runningAllowedBundleIDs(currentAllowlist()).empty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed windows temporarily missing and no allowed apps are "
                                                          "running — keeping empty VESK session active"));
        return;
    }
    logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed windows temporarily missing, but allowed apps are still "
                                                      "running — treating as possible minimized state"));
    scheduleAllowedAppsRecovery(QStringLiteral("allowedWindowsTemporarilyMissing"), std::nullopt, true);
}

void SessionManager::handleAllowedWindowsMissing(const QUuid& lifecycleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale missing-window callback for lifecycle=")))
        return;
    scheduleFailOpenConfirmation(lifecycleID);
}

void SessionManager::scheduleFailOpenConfirmation(const QUuid& lifecycleID)
{
    cancelPendingFailOpenConfirmation();
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("No allowed windows detected — confirming empty-session state in 0.25s"));
    const QPointer<SessionManager> self(this);
    pendingAllowedWindowsMissingConfirmation_ = scheduler_.asyncAfter(0.25, [self, lifecycleID] {
        if (self)
            self->confirmFailOpen(lifecycleID);
    });
}

void SessionManager::confirmFailOpen(const QUuid& lifecycleID)
{
    pendingAllowedWindowsMissingConfirmation_ = WorkItem();
    if (!isCurrentLifecycle(lifecycleID) || !isSessionActive_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale fail-open confirmation for lifecycle=") + uuidText(lifecycleID));
        return;
    }
    const std::set<QString> allowlist = currentAllowlist();
    if (!services_.allowedWindowDetector->detectAllowedWindows(allowlist).visible.empty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Fail-open confirmation cancelled — allowed windows visible again"));
        return;
    }
    const std::set<QString> running = runningAllowedBundleIDs(allowlist);
    if (running.empty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("No allowed windows confirmed and no allowed apps are running — "
                                                          "keeping empty VESK session active"));
        return;
    }
    // Missing windows never end a session.
    logger_.log(VeskLogLevel::warning, QStringLiteral("No allowed windows confirmed, but allowed apps are still running — "
                                                      "treating as minimized and keeping session active, running=")
                                           + sortedArrayText(running));
    scheduleAllowedAppsRecovery(QStringLiteral("allowedWindowsMissingConfirmed"), std::nullopt, true);
}

void SessionManager::forwardPassthroughRects(const QUuid& lifecycleID, const std::vector<Rect>& rects)
{
    if (!isCurrentLifecycle(lifecycleID))
        return;
    services_.mouseBlocker->setVisiblePassthroughRects(rects);
}

void SessionManager::handleAllowedWindowMotion(const QUuid& lifecycleID,
                                               const std::vector<OverlayWindowMotionEvent>& events)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale allowed-window motion callback for lifecycle=")))
        return;
    const std::set<QString> allowlist = currentAllowlist();
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
    if (currentAllowlist().contains(bundleID))
        services_.stage->handleSeamDragHandoff(bundleID, point);
}

void SessionManager::handleAllowedWindowControlClick(const QUuid& lifecycleID, const QString& bundleID,
                                                     MouseBlockerControlAction action, Point clickPoint)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale window-control click callback for lifecycle=")))
        return;
    if (!currentAllowlist().contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring window-control click for non-allowed app — bundleID=") + bundleID);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Handling allowed window control action via Vesk — bundleID=%1, action=%2")
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
    logger_.log(VeskLogLevel::info, QStringLiteral("Disallowed app hidden during active session — bundleID=%1, scheduling "
                                                   "allowed-app recovery")
                                        .arg(bundleID));
    scheduleAllowedAppsRecovery(QStringLiteral("disallowedAppHidden:") + bundleID, std::nullopt, false);
}

void SessionManager::handleSpaceChange(const QUuid& lifecycleID, const SpaceChangeContext& context)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug, QStringLiteral("Ignoring stale space-change callback for lifecycle=")))
        return;
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Unexpected active Space change during VESK session — frontmost=%1, sinceActivation=%2")
                    .arg(context.frontmostBundleID.value_or(QStringLiteral("nil")))
                    .arg(context.changesSinceActivation));
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("spaceChangedUnexpectedly"));
    scheduleAllowedAppsRecovery(QStringLiteral("spaceChangedUnexpectedly"), std::nullopt, false);
}

// MARK: - Allowed-app recovery

void SessionManager::scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                                 bool dragDeferrable)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.scheduleAllowedAppsRecovery(reason, targets, dragDeferrable); }))
        return;
    if (recoverySkippedOrDeferred(reason, targets, dragDeferrable))
        return;
    scheduleRecoveryWorkItem(reason, targets, dragDeferrable, timing_.allowedAppsRecoveryDelay);
}

bool SessionManager::discardRecoveryIfWindowsVisible(const QString& reason,
                                                     const std::optional<std::set<QString>>& targets)
{
    const std::set<QString> allowlist = currentAllowlist();
    const std::set<QString> visible = services_.allowedWindowDetector->detectAllowedWindows(allowlist).visible;
    std::set<QString> recovered;
    if (targets) {
        std::set<QString> targeted;
        std::set_intersection(targets->begin(), targets->end(), allowlist.begin(), allowlist.end(),
                              std::inserter(targeted, targeted.end()));
        const bool allVisible = std::all_of(targeted.begin(), targeted.end(),
                                            [&](const QString& id) { return visible.contains(id); });
        if (targeted.empty() || !allVisible)
            return false;
        recovered = targeted;
    } else {
        if (visible.empty())
            return false;
        recovered = visible;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Deferred allowed-app recovery discarded because allowed windows are "
                                                   "visible again — reason=%1, recovered=%2, visible=%3")
                                        .arg(reason, sortedArrayText(recovered), sortedArrayText(visible)));
    return true;
}

std::optional<double> SessionManager::deferRecoveryDuringDrag(const QString& reason)
{
    const QDateTime now = clock_.now();
    const AllowedWindowDragState drag = services_.overlay->allowedWindowDragState(now);
    if (!drag.lastMotionAt)
        return std::nullopt;
    const double age = static_cast<double>(drag.lastMotionAt->msecsTo(now)) / 1000.0;
    if (age > drag.cooldown)
        return std::nullopt;
    const double delay = std::max(std::max(drag.cooldown - age, 0.0) + 0.05, 0.15);
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Allowed-app recovery deferred during allowed-window drag — reason=%1, bundleIDs=%2, "
                               "mouseInteraction=%3, lastMotionAge=%4, delay=%5s")
                    .arg(reason, sortedArrayText(drag.bundleIDs), boolText(drag.isMouseInteractionActive),
                         QString::number(age, 'f', 3), twoDecimals(delay)));
    return delay;
}

void SessionManager::scheduleRecoveryWorkItem(const QString& reason, const std::optional<std::set<QString>>& targets,
                                              bool dragDeferrable, double delay)
{
    pendingAllowedAppsRecoveryWorkItem_.cancel();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Scheduled allowed-app recovery — reason=%1, delay=%2s, dragDeferrable=%3")
                                         .arg(reason, twoDecimals(delay), boolText(dragDeferrable)));
    const QPointer<SessionManager> self(this);
    pendingAllowedAppsRecoveryWorkItem_ =
        scheduler_.asyncAfter(std::max(delay, 0.0), [self, reason, targets, dragDeferrable] {
            if (self)
                self->fireAllowedAppsRecovery(reason, targets, dragDeferrable);
        });
}

bool SessionManager::recoverySkippedOrDeferred(const QString& reason, const std::optional<std::set<QString>>& targets,
                                               bool dragDeferrable)
{
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Allowed-app recovery skipped — no active session, reason=") + reason);
        return true;
    }
    if (!dragDeferrable)
        return false;
    if (discardRecoveryIfWindowsVisible(reason, targets))
        return true;
    if (const auto delay = deferRecoveryDuringDrag(reason)) {
        scheduleRecoveryWorkItem(reason, targets, true, *delay);
        return true;
    }
    return false;
}

void SessionManager::fireAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                             bool dragDeferrable)
{
    pendingAllowedAppsRecoveryWorkItem_ = WorkItem();
    if (recoverySkippedOrDeferred(reason, targets, dragDeferrable))
        return;
    performAllowedAppsRecovery(reason, targets);
}

void SessionManager::performAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets)
{
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Allowed-app recovery skipped — no active session, reason=") + reason);
        return;
    }
    const QString recoveryReason = QStringLiteral("allowedAppRecovery:") + reason;
    services_.appMonitor->enforceAllowlist(recoveryReason);
    services_.overlay->prepareBackingForAllowedAppActivation(recoveryReason);

    const std::set<QString> allowlist = currentAllowlist();
    std::set<QString> targeted;
    if (targets)
        std::set_intersection(targets->begin(), targets->end(), allowlist.begin(), allowlist.end(),
                              std::inserter(targeted, targeted.end()));
    int activatedAllowedApps = 0;
    int skippedSpaceBlocked = 0;
    for (const QString& bundleID : allowlist)
        recoverAllowedApp(bundleID, reason, targeted.contains(bundleID), activatedAllowedApps, skippedSpaceBlocked);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Allowed-app recovery completed — reason=%1, activatedAllowedApps=%2, skippedSpaceBlocked=%3, "
                               "targets=%4")
                    .arg(reason)
                    .arg(activatedAllowedApps)
                    .arg(skippedSpaceBlocked)
                    .arg(targets ? sortedArrayText(*targets) : QStringLiteral("[]")));
}

void SessionManager::recoverAllowedApp(const QString& bundleID, const QString& reason, bool targeted, int& activated,
                                       int& skippedSpaceBlocked)
{
    const auto app = runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Recovery skipped not-running allowed app: %1, reason=%2").arg(bundleID, reason));
        return;
    }
    const AllowedWindowSpaceClassification classification = classifyAllowedWindowSpaceState(bundleID);
    const QString description = classification.description();
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Recovery classified app: %1 — reason=%2, %3").arg(bundleID, reason, description));
    bool wasHidden = false;
    bool unhide = false;
    switch (classification.state) {
    case AllowedWindowSpaceState::notRunning:
    case AllowedWindowSpaceState::noWindows:
        logger_.log(VeskLogLevel::debug, QStringLiteral("Recovery skipped app without windows — bundleID=%1, reason=%2, %3")
                                             .arg(bundleID, reason, description));
        return;
    case AllowedWindowSpaceState::minimized:
        if (!targeted) {
            // A general recovery never brings back what the user minimised.
            ++skippedSpaceBlocked;
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Recovery skipped blind activation for minimized app — bundleID=%1, reason=%2, %3")
                            .arg(bundleID, reason, description));
            return;
        } else {
            bool restore = false;
            bool raise = false;
            if (classification.totalAXWindows >= 1) {
                restore = services_.windowManager->setMinimized(bundleID, false);
                if (restore)
                    raise = services_.windowManager->raise(bundleID);
            }
            logger_.log(VeskLogLevel::info, QStringLiteral("Recovery requested minimized-window restore — bundleID=%1, "
                                                           "reason=%2, restore=%3, raise=%4, %5")
                                                .arg(bundleID, reason, boolText(restore), boolText(raise), description));
            return;
        }
    case AllowedWindowSpaceState::onOtherSpace:
        if (!targeted) {
            ++skippedSpaceBlocked;
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Recovery skipped blind activation for other-Space app — bundleID=%1, reason=%2, %3")
                            .arg(bundleID, reason, description));
        } else {
            const auto outcome = materializeWindow(bundleID, QStringLiteral("recovery:") + reason);
            logger_.log(VeskLogLevel::info, QStringLiteral("Recovery requested window materialization — bundleID=%1, "
                                                           "reason=%2, outcome=%3, %4")
                                                .arg(bundleID, reason, outcome.text(), description));
        }
        return;
    case AllowedWindowSpaceState::hidden:
        wasHidden = app->isHidden();
        unhide = app->unhide();
        break;
    case AllowedWindowSpaceState::onActiveSpace:
        settleWindowMaterialization(bundleID, QStringLiteral("recovery:") + reason);
        wasHidden = app->isHidden();
        break;
    }
    ApplicationActivationOptions options;
    // The Finder is activated without options, so that not every Finder window comes up.
    options.activateAllWindows = bundleID != finderBundleID;
    const bool activate = app->activate(options);
    const bool visible = isAllowedWindowVisible(bundleID);
    ++activated;
    logger_.log(VeskLogLevel::debug, QStringLiteral("Recovery reveal app: %1 — reason=%2, wasHidden=%3, unhide=%4, "
                                                    "activate=%5, visible=%6, %7")
                                         .arg(bundleID, reason, boolText(wasHidden), boolText(unhide), boolText(activate),
                                              boolText(visible), description));
}

// MARK: - Dynamic allowlist and app-launch prompts

void SessionManager::handleAppLaunchNeedingDecision(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-launch-decision callback for lifecycle=")))
        return;
    presentAppLaunchPrompt(bundleID);
}

void SessionManager::appFullyClosedCallback(const QUuid& lifecycleID, const QString& bundleID)
{
    if (rejectStale(lifecycleID, VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale app-fully-closed callback for lifecycle=")))
        return;
    handleAppFullyClosed(bundleID);
}

void SessionManager::presentAppLaunchPrompt(const QString& bundleID)
{
    if (!isSessionActive_ || isStoppingSession_ || dynamicAllowlist_.contains(bundleID)) {
        services_.appMonitor->removePendingDecision(bundleID);
        return;
    }
    if (pendingAppLaunchPrompt_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping app-launch prompt — another prompt is open, bundleID=") + bundleID);
        return;
    }
    const QString name = services_.installedAppName(bundleID).value_or(bundleID);
    assign(pendingAppLaunchPrompt_, std::optional<AppLaunchPrompt>(AppLaunchPrompt{QUuid::createUuid(), bundleID, name}),
           &SessionManager::pendingAppLaunchPromptChanged);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Presenting app-launch prompt — bundleID=%1, name=%2").arg(bundleID, name));
    services_.uiController->showAppLaunchPrompt(*this);
}

bool SessionManager::canRemoveAppAtRuntime(const QString& bundleID) const
{
    if (!dynamicAllowlist_.dynamicBundleIDs().contains(bundleID))
        return false;
    std::set<QString> others = currentAllowlist();
    if (others.size() <= 1)
        return false;
    others.erase(bundleID);
    if (others.empty())
        return false;
    if (!services_.allowedWindowDetector->detectAllowedWindows(others).visible.empty())
        return true;
    return !runningAllowedBundleIDs(others).empty();
}

void SessionManager::removeApp(const QString& bundleID)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.removeApp(bundleID); }))
        return;
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Ignoring removeApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (!canRemoveAppAtRuntime(bundleID)) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Ignoring removeApp because no other allowed app has visible windows "
                                                          "or bundle is protected — bundleID=")
                                               + bundleID);
        return;
    }
    if (!dynamicAllowlist_.remove(bundleID)) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Runtime removal precheck passed but allowlist state rejected removal — bundleID=") + bundleID);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Removed app from dynamic allowlist — bundleID=") + bundleID);
    cancelPendingDynamicReveal(bundleID);
    cancelWindowMaterializationTimeout(bundleID);
    cancelPendingFailOpenConfirmation();
    cancelPendingAllowedAppsRecovery();
    synchronizeAllowlist();
    persistAllowlistUpdate();
    hideRemovedApp(bundleID);
    scheduleAllowedAppsRecovery(QStringLiteral("dynamicRemove:") + bundleID, std::nullopt, false);
}

void SessionManager::handleAppFullyClosed(const QString& bundleID)
{
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring app fully closed callback outside active session — bundleID=") + bundleID);
        return;
    }
    const bool dynamic = dynamicAllowlist_.dynamicBundleIDs().contains(bundleID);
    const bool removing = dynamic && canRemoveAppAtRuntime(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("[SessionManager] App fully closed via Vesk — bundleID=%1, dynamic=%2, removing=%3, terminating=%4")
                    .arg(bundleID, boolText(dynamic), boolText(removing), boolText(dynamic)));
    if (!dynamic)
        return;
    if (removing)
        removeApp(bundleID);
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic app fully closed but removal was refused — bundleID=") + bundleID);
    // Asked to quit even when it stays on the allowlist.
    terminateDeclinedApp(bundleID);
}

void SessionManager::synchronizeAllowlist()
{
    const std::set<QString> total = currentAllowlist();
    services_.overlay->updateAllowlist(total);
    services_.mouseBlocker->updateAllowlist(total);
    services_.appMonitor->updateAllowlist(total);
    services_.spaceBlocker->updateAllowlist(total);
    services_.spaceTransitionProbe->updateAllowedBundleIDs(total);
    StageVeskControlling::DisplayNames displayNames;
    for (const QString& bundleID : total)
        displayNames.insert(displayNameEntry(bundleID));
    services_.stage->updateAllowlist(total, displayNames);
    logger_.log(VeskLogLevel::info, QStringLiteral("Synchronized allowlist across services — original=%1, dynamic=%2, total=%3")
                                        .arg(dynamicAllowlist_.originalBundleIDs().size())
                                        .arg(dynamicAllowlist_.dynamicBundleIDs().size())
                                        .arg(total.size()));
}

void SessionManager::persistAllowlistUpdate()
{
    if (!activeFocusSessionID_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Skipping allowlist persistence update because no active "
                                                        "FocusSession ID is available"));
        return;
    }
    const auto stored = services_.sessionStore->updateSessionAllowlist(*activeFocusSessionID_, sortedList(currentAllowlist()),
                                                                       sortedList(allPersistedAllowedBundleIDs_));
    if (!stored) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to persist dynamic allowlist update: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Persisted dynamic allowlist update — focusSessionID=") + uuidText(*activeFocusSessionID_));
}

void SessionManager::hideRemovedApp(const QString& bundleID)
{
    const auto app = runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("No running app to hide after dynamic removal — bundleID=") + bundleID);
        return;
    }
    const bool success = app->hide();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Hid dynamically removed app: %1 — success=%2").arg(bundleID, boolText(success)));
}

void SessionManager::terminateDeclinedApp(const QString& bundleID)
{
    const auto app = runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("No running app to terminate after declined prompt — bundleID=") + bundleID);
        return;
    }
    const bool success = app->terminate();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Terminated declined app: %1 — success=%2").arg(bundleID, boolText(success)));
}

void SessionManager::cancelPendingDynamicReveal(const QString& bundleID)
{
    const auto it = pendingDynamicRevealWorkItems_.find(bundleID);
    if (it == pendingDynamicRevealWorkItems_.end())
        return;
    for (WorkItem& item : it->second)
        item.cancel();
    const auto count = it->second.size();
    pendingDynamicRevealWorkItems_.erase(it);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Cancelled pending dynamic reveal retries — bundleID=%1, count=%2").arg(bundleID).arg(count));
}

void SessionManager::cancelWindowMaterializationTimeout(const QString& bundleID)
{
    const auto it = pendingWindowMaterializationTimeouts_.find(bundleID);
    if (it == pendingWindowMaterializationTimeouts_.end())
        return;
    it->second.cancel();
    pendingWindowMaterializationTimeouts_.erase(it);
}

// MARK: - Visibility and restore

namespace {

bool qualifiesAsWindow(const AllowedWindowSnapshot& window, const QString& bundleID,
                       const std::optional<DisplayGeometry>& geometry)
{
    if (window.bundleID != bundleID || window.layer != 0 || !(window.alpha > 0.01))
        return false;
    if (!(window.bounds.standardWidth() > 24) || !(window.bounds.standardHeight() > 24))
        return false;
    if (bundleID == finderBundleID && geometry) {
        // The Finder's desktop surface covers a whole display.
        for (const auto& display : geometry->displayFrames()) {
            const Rect& frame = display.quartzFrame;
            if (std::abs(window.bounds.x - frame.x) <= 32 && std::abs(window.bounds.y - frame.y) <= 32
                && std::abs(window.bounds.width - frame.width) <= 32
                && std::abs(window.bounds.height - frame.height) <= 32)
                return false;
        }
    }
    return true;
}

int countQualifyingWindows(const std::vector<AllowedWindowSnapshot>& windows, const QString& bundleID,
                           const std::optional<DisplayGeometry>& geometry)
{
    return static_cast<int>(std::count_if(windows.begin(), windows.end(), [&](const AllowedWindowSnapshot& window) {
        return qualifiesAsWindow(window, bundleID, geometry);
    }));
}

} // namespace

AllowedWindowSpaceClassification SessionManager::classifyAllowedWindowSpaceState(const QString& bundleID) const
{
    if (services_.windowSpaceClassificationProvider)
        return services_.windowSpaceClassificationProvider(bundleID);

    const auto app = runningApplication(bundleID);
    const bool hidden = app && app->isHidden();
    const auto onScreen = services_.onScreenWindowSnapshots();
    const auto all = services_.allWindowSnapshots();
    const auto counts = services_.windowManager->minimizedWindowCounts(bundleID);

    AllowedWindowSpaceClassification result;
    result.bundleID = bundleID;
    result.minimizedWindows = counts.minimized;
    result.totalAXWindows = counts.total;
    if (!app) {
        result.state = AllowedWindowSpaceState::notRunning;
        return result;
    }
    if (hidden) {
        result.state = AllowedWindowSpaceState::hidden;
        return result;
    }
    const auto geometry = DisplayGeometry::current(*services_.screens);
    result.onScreenWindows = countQualifyingWindows(onScreen, bundleID, geometry);
    result.allWindows = countQualifyingWindows(all, bundleID, geometry);
    if (result.onScreenWindows > 0)
        result.state = AllowedWindowSpaceState::onActiveSpace;
    else if (result.allWindows == 0)
        result.state = AllowedWindowSpaceState::noWindows;
    else if (counts.total >= 1 && counts.minimized >= counts.total)
        result.state = AllowedWindowSpaceState::minimized;
    else
        result.state = AllowedWindowSpaceState::onOtherSpace;
    return result;
}

std::vector<AllowedAppVisibilitySnapshot> SessionManager::allowedAppVisibilitySnapshots() const
{
    std::vector<AllowedAppVisibilitySnapshot> snapshots;
    const std::set<QString> allowed = currentAllowlist();
    if (allowed.empty())
        return snapshots;
    const auto detection = services_.allowedWindowDetector->detectAllowedWindows(allowed);
    const std::set<QString> running = runningAllowedBundleIDs(allowed);
    for (const QString& bundleID : allowed) {
        AllowedAppVisibility visibility = AllowedAppVisibility::minimized;
        if (detection.visible.contains(bundleID))
            visibility = AllowedAppVisibility::visible;
        else if (detection.covered.contains(bundleID))
            visibility = AllowedAppVisibility::occluded;
        else if (!running.contains(bundleID))
            visibility = AllowedAppVisibility::notRunning;
        else if (classifyAllowedWindowSpaceState(bundleID).state == AllowedWindowSpaceState::onOtherSpace)
            visibility = AllowedAppVisibility::onOtherSpace;
        snapshots.push_back({bundleID, visibility});
    }
    return snapshots;
}

void SessionManager::restoreAllowedApp(const QString& bundleID)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.restoreAllowedApp(bundleID); }))
        return;
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring restoreAllowedApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (!dynamicAllowlist_.contains(bundleID)) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Ignoring restoreAllowedApp for non-allowed bundleID=") + bundleID);
        return;
    }
    const AllowedWindowSpaceClassification classification = classifyAllowedWindowSpaceState(bundleID);
    if (classification.state == AllowedWindowSpaceState::onOtherSpace) {
        scheduleSessionStatusFeedbackReset();
        logger_.log(VeskLogLevel::info, QStringLiteral("Restore requested for other-Space app — bundleID=%1, %2")
                                            .arg(bundleID, classification.description()));
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Restoring allowed app from minimized/not-visible state — bundleID=") + bundleID);
    cancelPendingDynamicReveal(bundleID);
    services_.spaceTransitionProbe->startBurst(QStringLiteral("reveal:") + bundleID, 10.0);
    dynamicReveal(bundleID, 0, {});
    scheduleAllowedAppsRecovery(QStringLiteral("restoreAllowedApp:") + bundleID, std::set<QString>{bundleID}, false);
}

void SessionManager::scheduleSessionStatusFeedbackReset()
{
    pendingSessionStatusFeedbackReset_.cancel();
    assign(sessionStatusFeedback_, std::optional<SessionStatusFeedback>(SessionStatusFeedback::appOnOtherSpace),
           &SessionManager::sessionStatusFeedbackChanged);
    const QPointer<SessionManager> self(this);
    pendingSessionStatusFeedbackReset_ = scheduler_.asyncAfter(1.5, [self] {
        if (!self)
            return;
        self->assign(self->sessionStatusFeedback_, std::optional<SessionStatusFeedback>(),
                     &SessionManager::sessionStatusFeedbackChanged);
        self->pendingSessionStatusFeedbackReset_ = WorkItem();
    });
}

// MARK: - Screenshot and reflection

void SessionManager::requestScreenshot(const QDateTime& date)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.requestScreenshot(date); }))
        return;
    if (!isSessionActive_ || isStoppingSession_) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring screenshot request because no active session is available"));
        return;
    }
    const auto result = services_.screenshotService->captureAndSave(date);
    if (result.filePath) {
        logger_.log(VeskLogLevel::info, QStringLiteral("Session screenshot captured — path=") + *result.filePath);
        showScreenshotFeedback(SessionScreenshotFeedback::saved);
    } else {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to capture session screenshot: ") + result.errorDescription);
        showScreenshotFeedback(SessionScreenshotFeedback::failed);
    }
}

void SessionManager::showScreenshotFeedback(SessionScreenshotFeedback feedback)
{
    pendingScreenshotFeedbackReset_.cancel();
    assign(screenshotFeedback_, std::optional<SessionScreenshotFeedback>(feedback),
           &SessionManager::screenshotFeedbackChanged);
    const QPointer<SessionManager> self(this);
    pendingScreenshotFeedbackReset_ = scheduler_.asyncAfter(1.5, [self] {
        if (!self)
            return;
        self->assign(self->screenshotFeedback_, std::optional<SessionScreenshotFeedback>(),
                     &SessionManager::screenshotFeedbackChanged);
        self->pendingScreenshotFeedbackReset_ = WorkItem();
    });
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
    const auto stored =
        services_.sessionStore->updateSessionReflection(focusSessionID, goalStatus, helpful, normalizedNote, answeredAt);
    if (!stored) {
        // The card stays, so the answers can be saved again.
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to save post-session reflection: ") + stored.error().description);
        return;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Post-session reflection saved — focusSessionID=%1, goalStatus=%2, veskHelpful=%3, hasNote=%4")
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

// MARK: - Adding applications and the app-launch prompt

void SessionManager::addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                            std::optional<StageVeskScreenID> targetScreen)
{
    if (redispatchToMainThread([=](SessionManager& self) { self.addApp(bundleID, applicationURL, targetScreen); }))
        return;
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Ignoring addApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (dynamicAllowlist_.contains(bundleID)) {
        logger_.log(VeskLogLevel::info, QStringLiteral("Ignoring addApp for already-allowed bundleID=") + bundleID);
        return;
    }
    dynamicAllowlist_.insertDynamic(bundleID);
    if (applicationURL)
        appURLsByBundleID_[bundleID] = *applicationURL;
    allPersistedAllowedBundleIDs_.insert(bundleID);
    logger_.log(VeskLogLevel::info, QStringLiteral("Added app to dynamic allowlist — bundleID=%1, targetScreenID=%2")
                                        .arg(bundleID, targetScreen ? QString::number(targetScreen->rawValue)
                                                                    : QStringLiteral("none")));
    cancelPendingAllowedAppsRecovery();
    synchronizeAllowlist();
    persistAllowlistUpdate();
    if (targetScreen)
        services_.stage->requestStagePlacement(bundleID, *targetScreen);
    cancelPendingDynamicReveal(bundleID);
    services_.spaceTransitionProbe->startBurst(QStringLiteral("reveal:") + bundleID, 10.0);
    dynamicReveal(bundleID, 0, {});
    scheduleAllowedAppsRecovery(QStringLiteral("dynamicAdd:") + bundleID, std::set<QString>{bundleID}, false);
}

void SessionManager::confirmAppLaunchPrompt(bool allow)
{
    if (!pendingAppLaunchPrompt_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignoring confirmAppLaunchPrompt — no pending prompt"));
        return;
    }
    const AppLaunchPrompt prompt = *pendingAppLaunchPrompt_;
    assign(pendingAppLaunchPrompt_, std::optional<AppLaunchPrompt>(), &SessionManager::pendingAppLaunchPromptChanged);
    services_.appMonitor->removePendingDecision(prompt.bundleID);
    services_.uiController->dismissAppLaunchPrompt();
    if (allow) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("App-launch prompt confirmed — adding to Vesk, bundleID=") + prompt.bundleID);
        addApp(prompt.bundleID, std::nullopt, sessionAnchorScreenID_);
    } else {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("App-launch prompt declined — terminating launched app, bundleID=") + prompt.bundleID);
        terminateDeclinedApp(prompt.bundleID);
    }
}

// MARK: - Reveal, launching and window materialization

bool SessionManager::isAllowedWindowVisible(const QString& bundleID) const
{
    return services_.allowedWindowDetector->detectAllowedWindows({bundleID}).visible.contains(bundleID);
}

bool SessionManager::trackLaunchAsVeskStarted(const QString& bundleID) const
{
    return !initiallyRunningAllowedBundleIDs_.contains(bundleID) && runningApplication(bundleID) == nullptr;
}

void SessionManager::dynamicReveal(const QString& bundleID, int attempt, RevealProgress progress)
{
    const QString attemptText = QString::number(attempt);
    if (!isSessionActive_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Dynamic reveal skipped — no active session, bundleID=%1, attempt=%2")
                                             .arg(bundleID, attemptText));
        return;
    }
    if (!dynamicAllowlist_.contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Dynamic reveal skipped — app is no longer allowed, bundleID=%1, attempt=%2")
                        .arg(bundleID, attemptText));
        return;
    }
    if (bundleID == finderBundleID) {
        finderFallback(applicationURL(finderBundleID), attempt);
        return;
    }
    const QString reason = QStringLiteral("dynamicReveal:") + attemptText;
    AllowedWindowSpaceClassification classification = classifyAllowedWindowSpaceState(bundleID);
    if (classification.state == AllowedWindowSpaceState::onActiveSpace) {
        settleWindowMaterialization(bundleID, reason);
        logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal complete — bundleID=%1, attempt=%2, visible=true, %3")
                                            .arg(bundleID, attemptText, classification.description()));
        return;
    }
    const std::optional<QUrl> url = applicationURL(bundleID);
    const auto app = runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Dynamic reveal attempt — bundleID=%1, attempt=%2, running=false, visible=false, %3")
                        .arg(bundleID, attemptText, classification.description()));
        if (classification.state == AllowedWindowSpaceState::noWindows
            || classification.state == AllowedWindowSpaceState::notRunning)
            runRevealFallbackChain(bundleID, url, attempt, progress);
        else
            logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal LaunchServices fallback blocked — bundleID=%1, "
                                                              "attempt=%2, %3")
                                                   .arg(bundleID, attemptText, classification.description()));
    } else {
        const bool wasHidden = app->isHidden();
        bool unhide = false;
        bool activate = false;
        bool materialization = false;
        bool minimizedRestore = false;
        const auto materialize = [&](const QString& why) {
            materialization =
                materializeWindow(bundleID, why).kind == WindowMaterializationOutcome::Kind::requested;
            progress.materializationAttempted = true;
        };
        const auto restoreMinimized = [&](const QString& why) {
            minimizedRestore = restoreMinimizedWindows(bundleID, why, classification);
            progress.minimizedRestoreAttempted = true;
        };
        switch (classification.state) {
        case AllowedWindowSpaceState::minimized:
            if (!progress.minimizedRestoreAttempted)
                restoreMinimized(reason);
            break;
        case AllowedWindowSpaceState::onOtherSpace:
            if (!progress.materializationAttempted)
                materialize(reason);
            break;
        case AllowedWindowSpaceState::hidden: {
            unhide = app->unhide();
            classification = classifyAllowedWindowSpaceState(bundleID);
            const QString hiddenReason = QStringLiteral("dynamicRevealHidden:") + attemptText;
            if (classification.state == AllowedWindowSpaceState::onActiveSpace)
                activate = app->activate(ApplicationActivationOptions{true});
            else if (classification.state == AllowedWindowSpaceState::onOtherSpace && !progress.materializationAttempted)
                materialize(hiddenReason);
            else if (classification.state == AllowedWindowSpaceState::minimized && !progress.minimizedRestoreAttempted)
                restoreMinimized(hiddenReason);
            break;
        }
        case AllowedWindowSpaceState::notRunning:
        case AllowedWindowSpaceState::noWindows:
        case AllowedWindowSpaceState::onActiveSpace:
            break;
        }
        const bool visible = isAllowedWindowVisible(bundleID);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Dynamic reveal attempt — bundleID=%1, attempt=%2, running=true, wasHidden=%3, unhide=%4, "
                                   "activate=%5, materialization=%6, minimizedRestore=%7, visible=%8, %9")
                        .arg(bundleID, attemptText, boolText(wasHidden), boolText(unhide), boolText(activate),
                             boolText(materialization), boolText(minimizedRestore), boolText(visible),
                             classification.description()));
        if (visible) {
            settleWindowMaterialization(bundleID, reason);
            return;
        }
        const AllowedWindowSpaceState state = classification.state;
        const bool withoutWindows =
            state == AllowedWindowSpaceState::noWindows || state == AllowedWindowSpaceState::notRunning;
        if (progress.materializationAttempted && withoutWindows) {
            // No launch follows a materialization.
            logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal ended after materialization settle without "
                                                              "visible window — bundleID=%1, attempt=%2, %3")
                                                   .arg(bundleID, attemptText, classification.description()));
            return;
        }
        if (state == AllowedWindowSpaceState::onOtherSpace) {
            logger_.log(VeskLogLevel::warning,
                        QStringLiteral("Dynamic reveal stopped before LaunchServices fallback for other-Space app — "
                                       "bundleID=%1, attempt=%2, materializationAttempted=%3, %4")
                            .arg(bundleID, attemptText, boolText(progress.materializationAttempted),
                                 classification.description()));
            if (!materialization) {
                logger_.log(VeskLogLevel::info,
                            QStringLiteral("Dynamic reveal ended with other-Space app state — bundleID=%1, attempt=%2, %3")
                                .arg(bundleID, attemptText, classification.description()));
                return;
            }
        } else if (state == AllowedWindowSpaceState::noWindows) {
            runRevealFallbackChain(bundleID, url, attempt, progress);
        }
    }

    if (isAllowedWindowVisible(bundleID)) {
        settleWindowMaterialization(bundleID, QStringLiteral("dynamicRevealFallback:") + attemptText);
        logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal complete after fallback — bundleID=%1, attempt=%2, "
                                                       "visible=true")
                                            .arg(bundleID, attemptText));
        return;
    }
    scheduleRevealRetry(bundleID, attempt, progress);
}

void SessionManager::runRevealFallbackChain(const QString& bundleID, const std::optional<QUrl>& url, int attempt,
                                            RevealProgress& progress)
{
    // One measure per attempt; a fallback that did not start is tried again next time.
    if (!progress.appOpenFallbackUsed)
        progress.appOpenFallbackUsed = appOpenFallback(bundleID, url, attempt);
    else if (!progress.blankFallbackUsed)
        progress.blankFallbackUsed = blankDocumentFallback(bundleID, url, attempt);
}

bool SessionManager::appOpenFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt)
{
    if (!url) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal app-open fallback failed — could not resolve app "
                                                          "URL, bundleID=%1, attempt=%2")
                                               .arg(bundleID)
                                               .arg(attempt));
        return false;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal app-open fallback — bundleID=%1, attempt=%2, url=%3")
                                        .arg(bundleID)
                                        .arg(attempt)
                                        .arg(url->toLocalFile()));
    launchAllowedApp(bundleID, *url, QStringLiteral("dynamicReveal"), trackLaunchAsVeskStarted(bundleID));
    return true;
}

bool SessionManager::finderFallback(const std::optional<QUrl>& finderURL, int attempt)
{
    if (!finderURL) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic reveal Finder fallback failed — could not resolve Finder URL, attempt=%1")
                        .arg(attempt));
        return false;
    }
    const QString home = services_.homeDirectory();
    logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal Finder fallback — attempt=%1, appURL=%2, homeURL=%3")
                                        .arg(attempt)
                                        .arg(finderURL->toLocalFile(), home));
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    const QPointer<SessionManager> self(this);
    services_.workspace->open(
        {QUrl::fromLocalFile(home)}, *finderURL, configuration,
        [self, home, &scheduler = scheduler_](std::shared_ptr<RunningApplicationControlling>,
                                              std::optional<QString> error) {
            auto report = [self, home, error] {
                if (!self)
                    return;
                if (error)
                    self->logger_.log(VeskLogLevel::error, QStringLiteral("Dynamic reveal Finder fallback failed — error=") + *error);
                else
                    self->logger_.log(VeskLogLevel::info, QStringLiteral("Dynamic reveal Finder fallback opened — homeURL=") + home);
            };
            if (isMainThread())
                report();
            else
                scheduler.async(report);
        });
    return true;
}

bool SessionManager::blankDocumentFallback(const QString& bundleID, const std::optional<QUrl>& url, int attempt)
{
    if (!url) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal blank fallback failed — could not resolve app URL, "
                                                          "bundleID=%1, attempt=%2")
                                               .arg(bundleID)
                                               .arg(attempt));
        return false;
    }
    if (!services_.applicationCapabilityDetector->supportsWebURLSchemes(*url)) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Dynamic reveal blank fallback skipped — app does not advertise web "
                                                        "URL support, bundleID=%1, attempt=%2, appURL=%3")
                                             .arg(bundleID)
                                             .arg(attempt)
                                             .arg(url->toLocalFile()));
        return false;
    }
    QString error;
    const auto blank = writeBlankRevealDocument(services_.temporaryDirectory(), bundleID, &error);
    if (!blank) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Dynamic reveal blank fallback failed — bundleID=%1, error=%2").arg(bundleID, error));
        return false;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Dynamic reveal blank fallback — bundleID=%1, attempt=%2, appURL=%3, blankURL=%4")
                    .arg(bundleID)
                    .arg(attempt)
                    .arg(url->toLocalFile(), *blank));
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    const QPointer<SessionManager> self(this);
    const QString blankPath = *blank;
    services_.workspace->open(
        {QUrl::fromLocalFile(blankPath)}, *url, configuration,
        [self, bundleID, blankPath, &scheduler = scheduler_](std::shared_ptr<RunningApplicationControlling>,
                                                             std::optional<QString> openError) {
            auto report = [self, bundleID, blankPath, openError] {
                if (!self)
                    return;
                if (openError)
                    self->logger_.log(VeskLogLevel::error,
                                      QStringLiteral("Dynamic reveal blank fallback failed — bundleID=%1, error=%2")
                                          .arg(bundleID, *openError));
                else
                    self->logger_.log(VeskLogLevel::info,
                                      QStringLiteral("Dynamic reveal blank fallback opened — bundleID=%1, blankURL=%2")
                                          .arg(bundleID, blankPath));
            };
            if (isMainThread())
                report();
            else
                scheduler.async(report);
        });
    return true;
}

std::optional<QString> SessionManager::writeBlankRevealDocument(const QString& temporaryDirectory,
                                                                const QString& bundleID, QString* error)
{
    const QString folder = QDir(temporaryDirectory).filePath(QStringLiteral("VESKBlankDocuments"));
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("Could not create the folder %1").arg(folder);
        return std::nullopt;
    }
    QString name = bundleID;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9._-]")), QStringLiteral("-"));
    const QString path = QDir(folder).filePath(name + QStringLiteral(".html"));
    const QByteArray content = QByteArrayLiteral("<!doctype html>\n<html>\n"
                                                 "<head><meta charset=\"utf-8\"><title>VESK</title></head>\n"
                                                 "<body></body>\n</html>");
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit()) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return path;
}

bool SessionManager::restoreMinimizedWindows(const QString& bundleID, const QString& reason,
                                             const AllowedWindowSpaceClassification& classification)
{
    if (classification.totalAXWindows < 1) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Minimized-window restore skipped — no AX windows, bundleID=%1, reason=%2, %3")
                        .arg(bundleID, reason, classification.description()));
        return false;
    }
    const bool restore = services_.windowManager->setMinimized(bundleID, false);
    const bool raise = restore && services_.windowManager->raise(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Minimized-window restore requested — bundleID=%1, reason=%2, restore=%3, raise=%4, %5")
                    .arg(bundleID, reason, boolText(restore), boolText(raise), classification.description()));
    return restore;
}

void SessionManager::scheduleRevealRetry(const QString& bundleID, int attempt, RevealProgress progress)
{
    const auto& offsets = timing_.revealRetryOffsets;
    if (attempt >= static_cast<int>(offsets.size())) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Dynamic reveal finished without visible window — bundleID=%1, "
                                                          "attempts=%2, appOpenFallback=%3, blankFallback=%4")
                                               .arg(bundleID)
                                               .arg(attempt + 1)
                                               .arg(boolText(progress.appOpenFallbackUsed),
                                                    boolText(progress.blankFallbackUsed)));
        return;
    }
    const double offset = offsets[static_cast<std::size_t>(attempt)];
    const double previous = attempt > 0 ? offsets[static_cast<std::size_t>(attempt - 1)] : 0.0;
    const double delay = std::max(0.0, offset - previous);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Scheduled dynamic reveal retry — bundleID=%1, nextAttempt=%2, delay=%3s, offset=%4s")
                    .arg(bundleID)
                    .arg(attempt + 1)
                    .arg(twoDecimals(delay), twoDecimals(offset)));
    const QPointer<SessionManager> self(this);
    WorkItem item = scheduler_.asyncAfter(delay, [self, bundleID, attempt, progress] {
        if (!self)
            return;
        auto& pending = self->pendingDynamicRevealWorkItems_;
        if (const auto it = pending.find(bundleID); it != pending.end()) {
            // This item is no longer pending once it runs; drop it (and any spent ones) from the list.
            std::erase_if(it->second, [](const WorkItem& other) { return !other.isPending(); });
            if (it->second.empty())
                pending.erase(it);
        }
        self->dynamicReveal(bundleID, attempt + 1, progress);
    });
    pendingDynamicRevealWorkItems_[bundleID].push_back(item);
}

WindowMaterializationOutcome SessionManager::materializeWindow(const QString& bundleID, const QString& reason)
{
    if (!isSessionActive_ || !dynamicAllowlist_.contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Window materialization skipped — inactive or no longer allowed, bundleID=%1, reason=%2")
                        .arg(bundleID, reason));
        return WindowMaterializationOutcome::failed(QStringLiteral("inactive or no longer allowed"));
    }
    if (pendingWindowMaterializationTimeouts_.contains(bundleID)) {
        logger_.log(VeskLogLevel::info, QStringLiteral("Window materialization skipped — already in flight, bundleID=%1, "
                                                       "reason=%2")
                                            .arg(bundleID, reason));
        return WindowMaterializationOutcome::requested();
    }
    const WindowMaterializationOutcome outcome =
        services_.windowMaterializer->materialize(bundleID, applicationURL(bundleID), reason);
    if (outcome.kind != WindowMaterializationOutcome::Kind::requested) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Window materialization unavailable — bundleID=%1, reason=%2, outcome=%3")
                        .arg(bundleID, reason, outcome.text()));
        return outcome;
    }
    cancelWindowMaterializationTimeout(bundleID);
    const QPointer<SessionManager> self(this);
    pendingWindowMaterializationTimeouts_[bundleID] = scheduler_.asyncAfter(4.0, [self, bundleID, reason] {
        if (!self)
            return;
        self->pendingWindowMaterializationTimeouts_.erase(bundleID);
        self->logger_.log(VeskLogLevel::warning,
                          QStringLiteral("Window materialization flight timed out — bundleID=%1, reason=%2, timeout=4.0s")
                              .arg(bundleID, reason));
    });
    return outcome;
}

void SessionManager::settleWindowMaterialization(const QString& bundleID, const QString& reason)
{
    if (!pendingWindowMaterializationTimeouts_.contains(bundleID))
        return;
    cancelWindowMaterializationTimeout(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Window materialization flight settled — bundleID=%1, reason=%2").arg(bundleID, reason));
}

} // namespace vesk
