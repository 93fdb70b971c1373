#include "session/SessionStartSequence.h"

#include "analytics/AnalyticsDurationBucket.h"
#include "analytics/MonitorCountBucket.h"
#include "analytics/SetupDurationBucket.h"
#include "core/Geometry.h"
#include "core/TextFormat.h"
#include "panels/SessionControlling.h"
#include "session/AllowedAppLauncher.h"
#include "session/AllowedAppLookup.h"
#include "session/SessionServiceHandlers.h"
#include "stage/StageVeskScreenID.h"

#include <QStringList>

#include <algorithm>

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

SessionStartSequence::SessionStartSequence(const SessionServices& services, SessionState& state,
                                           const AllowedAppLookup& lookup, AllowedAppLauncher& launcher,
                                           SessionServiceHandlers& handlers, SessionControlling& session)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , launcher_(launcher)
    , handlers_(handlers)
    , session_(session)
{
}

void SessionStartSequence::captureAnchorScreen()
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

void SessionStartSequence::trackStarted(int durationSeconds, int allowedCount, bool hardcore, int setupSeconds,
                                        bool hasGoal)
{
    const auto screenCount = services_.screens->screens().size();
    const auto stagePhase = services_.stage->defaultScreenPhase();
    services_.analytics->track(AnalyticsEvent::SessionStarted{
        analyticsDurationBucket(durationSeconds),
        allowedCount,
        hardcore,
        setupDurationBucket(setupSeconds),
        monitorCountBucket(static_cast<qint64>(screenCount)),
        toRaw(stagePhase.value_or(StageVeskPhase::freestyle)),
        hasGoal,
    });
}

void SessionStartSequence::activateServices(const QUuid& lifecycleID, const std::set<QString>& allowedBundleIDs,
                                            const std::map<QString, QUrl>& appURLs, bool hardcore,
                                            std::function<void()> onAllowedWindows)
{
    services_.emergencyHotkey->activate(handlers_.emergencyHotkeyHandler(lifecycleID));
    services_.screenshotThumbnailSuppression->activate();
    services_.spaceBlocker->activate(allowedBundleIDs, hardcore);
    services_.spaceTransitionProbe->activate(allowedBundleIDs);
    services_.spaceMonitor->activate(handlers_.spaceChangeHandler(lifecycleID));
    services_.desktopIsolation->activate();
    services_.uiController->hideMainWindow();
    launcher_.launchInitialAllowlist(allowedBundleIDs, appURLs);
    handlers_.installStartHandlers(lifecycleID);

    services_.allowedWindowWaiter->waitForAllowedWindows(state_.currentAllowlist(), std::move(onAllowedWindows));
}

void SessionStartSequence::completeServices(const QUuid& lifecycleID, const std::set<QString>& allowlist)
{
    services_.overlay->activate(allowlist);
    services_.overlay->prepareBackingForAllowedAppActivation(QStringLiteral("sessionStart"));
    handlers_.installCompletionHandlers(lifecycleID);
    services_.mouseBlocker->activate(allowlist);
    services_.kiosk->activate();

    handlers_.installAppMonitorHandlers(lifecycleID);
    services_.appMonitor->activate(allowlist);

    services_.stage->setOnAppFullyClosed(handlers_.appFullyClosedHandler(lifecycleID));
    services_.stage->activate(allowlist, lookup_.displayNames(allowlist), state_.sessionAnchorScreenID);

    services_.uiController->showStageVeskPanel(session_, *services_.stage);
    services_.uiController->showHUD(session_);
    services_.transitionPresenter->dismissEnteringTransition(false);
}

void SessionStartSequence::logDisplayContext(const QUuid& lifecycleID, const std::set<QString>& allowlist)
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

} // namespace vesk
