#include "app/AppDelegate.h"

#include "app/TerminationSignalHandler.h"
#include "core/Clock.h"
#include "core/UserDefaults.h"
#include "enforcement/DesktopIsolationRecovering.h"
#include "enforcement/EmergencyRestoring.h"
#include "session/SessionManager.h"

#include <QCoreApplication>

namespace vesk {

AppDelegate::AppDelegate(Dependencies dependencies) : dependencies_(std::move(dependencies))
{
}

AppDelegate::~AppDelegate() = default;

void AppDelegate::applicationDidFinishLaunching()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("VESK application did finish launching — PID=%1")
                                        .arg(QCoreApplication::applicationPid()));
    dependencies_.standardDefaults.setBool(QStringLiteral("NSQuitAlwaysKeepsWindows"), false);

    // What an earlier run may have left changed goes back first, then the
    // session records it left open are closed.
    dependencies_.desktopIsolation.recoverIfNeeded();
    dependencies_.dockMissionControlFallback.emergencyRestore();
    dependencies_.screenshotThumbnailSuppression.emergencyRestore();
    dependencies_.sessionManager.recoverOrphanedSessions(dependencies_.clock.now());

    // The signal handler itself only writes to a self-pipe; what follows runs
    // here on the main thread.
    signalHandler_ =
        std::make_unique<TerminationSignalHandler>([this] { handleSigterm(); },
                                                   [this](int signal) { handleTerminationSignal(signal); });
    if (signalHandler_->install()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("SIGTERM handler installed"));
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Termination signal handlers installed — signals=SIGTERM, SIGINT, SIGHUP, SIGQUIT"));
    } else {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Signal handlers could not be installed"));
    }
}

platform::TerminateReply AppDelegate::applicationShouldTerminate()
{
    if (dependencies_.sessionManager.isSessionActive()) {
        logger_.log(VeskLogLevel::info, QStringLiteral("applicationShouldTerminate: active session detected — "
                                                       "stopping session before termination"));
        dependencies_.sessionManager.stopSession(SessionStopReason::appTerminate, SessionExitAppDisposition::leaveOpen);
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("applicationShouldTerminate: returning .terminateNow"));
    runEmergencyRestores();
    dependencies_.drainLog();
    return platform::TerminateReply::now;
}

void AppDelegate::applicationWillTerminate()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("applicationWillTerminate: final safety reset"));
    dependencies_.presentationOptions.setPresentationOptions(0);
    runEmergencyRestores();
    dependencies_.drainLog();
}

bool AppDelegate::areSignalHandlersInstalled() const
{
    return signalHandler_ && signalHandler_->isInstalled();
}

void AppDelegate::runEmergencyRestores()
{
    dependencies_.desktopIsolation.emergencyRestore();
    dependencies_.dockMissionControlFallback.emergencyRestore();
    dependencies_.screenshotThumbnailSuppression.emergencyRestore();
}

void AppDelegate::handleSigterm()
{
    // Dock and menu bar come back at once; the termination follows.
    dependencies_.presentationOptions.setPresentationOptions(0);
    ++handledSigtermCount_;
    logger_.log(VeskLogLevel::info, QStringLiteral("SIGTERM received — presentation options reset"));
}

void AppDelegate::handleTerminationSignal(int signal)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Termination signal received — signal=%1")
                                        .arg(TerminationSignalHandler::signalName(signal)));
    // The same road as a quit from the menu: stop the session, restore, drain.
    dependencies_.ownApplication.requestOwnTermination();
}

} // namespace vesk
