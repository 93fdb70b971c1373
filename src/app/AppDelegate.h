#pragma once

#include "logging/VeskLogger.h"
#include "platform/OwnApplicationControlling.h"
#include "platform/PresentationOptionsControlling.h"

#include <functional>
#include <memory>

namespace vesk {

class Clock;
class DesktopIsolationRecovering;
class EmergencyRestoring;
class SessionManager;
class TerminationSignalHandler;
class UserDefaults;

// The application's delegate: the launch recovery, the signal handlers, and
// taking the system back to a clean state when the application terminates.
class AppDelegate {
public:
    struct Dependencies {
        SessionManager& sessionManager;
        DesktopIsolationRecovering& desktopIsolation;
        EmergencyRestoring& dockMissionControlFallback;
        EmergencyRestoring& screenshotThumbnailSuppression;
        UserDefaults& standardDefaults;
        platform::PresentationOptionsControlling& presentationOptions;
        // Terminated on SIGTERM, SIGINT, SIGHUP and SIGQUIT as on the quit command.
        platform::OwnApplicationControlling& ownApplication;
        const Clock& clock;
        // Returns once every log row queued before the call is in the file.
        std::function<void()> drainLog;
    };

    explicit AppDelegate(Dependencies dependencies);
    ~AppDelegate();
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;

    // Recovery of what an earlier run may have left behind, then the signal
    // handlers: SIGTERM, SIGINT, SIGHUP and SIGQUIT terminate the application
    // the normal way, SIGTERM after resetting the presentation options at once.
    void applicationDidFinishLaunching();
    // Stops a running session (leaving its applications open), restores the
    // system settings, drains the log and always answers "now".
    platform::TerminateReply applicationShouldTerminate();
    // The final safety reset; runs also when the request step did not.
    void applicationWillTerminate();
    // Closing the main window leaves the application running.
    bool applicationShouldTerminateAfterLastWindowClosed() const { return false; }

    bool areSignalHandlersInstalled() const;
    // How many SIGTERM notices the main thread has handled.
    int handledSigtermCount() const { return handledSigtermCount_; }

private:
    void runEmergencyRestores();
    void handleSigterm();
    void handleTerminationSignal(int signal);

    Dependencies dependencies_;
    VeskLogger logger_{QStringLiteral("AppDelegate")};
    std::unique_ptr<TerminationSignalHandler> signalHandler_;
    int handledSigtermCount_ = 0;
};

} // namespace vesk
