#include "app/AppDelegate.h"

#include "enforcement/DesktopIsolationRecovering.h"
#include "enforcement/EmergencyRestoring.h"
#include "app/SigtermHandler.h"
#include "core/Clock.h"
#include "core/UserDefaults.h"
#include "session/SessionManager.h"

#include <QCoreApplication>

namespace vesk {

AppDelegate::AppDelegate(Dependencies dependencies)
    : dependencies_(std::move(dependencies))
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

    // The signal handler itself only writes to a self-pipe; the reset runs
    // here on the main thread. The process keeps running after SIGTERM.
    sigtermHandler_ = std::make_unique<SigtermHandler>([this] { handleSigterm(); });
    if (sigtermHandler_->install())
        logger_.log(VeskLogLevel::debug, QStringLiteral("SIGTERM handler installed"));
    else
        logger_.log(VeskLogLevel::warning, QStringLiteral("SIGTERM handler could not be installed"));
}

platform::TerminateReply AppDelegate::applicationShouldTerminate()
{
    if (dependencies_.sessionManager.isSessionActive()) {
        logger_.log(VeskLogLevel::info, QStringLiteral("applicationShouldTerminate: active session detected — "
                                                       "stopping session before termination"));
        dependencies_.sessionManager.stopSession(QStringLiteral("appTerminate"), SessionExitAppDisposition::leaveOpen);
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

bool AppDelegate::isSigtermHandlerInstalled() const
{
    return sigtermHandler_ && sigtermHandler_->isInstalled();
}

void AppDelegate::runEmergencyRestores()
{
    dependencies_.desktopIsolation.emergencyRestore();
    dependencies_.dockMissionControlFallback.emergencyRestore();
    dependencies_.screenshotThumbnailSuppression.emergencyRestore();
}

void AppDelegate::handleSigterm()
{
    // Dock and menu bar come back; the session, its overlay and the process go on.
    dependencies_.presentationOptions.setPresentationOptions(0);
    ++handledSigtermCount_;
    logger_.log(VeskLogLevel::info, QStringLiteral("SIGTERM received — presentation options reset, process keeps running"));
}

} // namespace vesk
