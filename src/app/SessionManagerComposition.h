#pragma once

#include "enforcement/DesktopIsolationRecovering.h"
#include "enforcement/EmergencyRestoring.h"
#include "platform/PlatformInterfaces.h"

#include <QString>

#include <memory>
#include <optional>

namespace vesk {

class Clock;
class Scheduler;
class SessionManager;
class SessionPanelContent;
class SessionTimerCreating;
class SessionUIController;
class StageVeskService;
class UserDefaults;
class WorkspaceControlling;

// Builds the application's one session manager with every service it works
// through, in the order the services depend on each other, and keeps them
// for the application's life. Services of subsystems that are not part of
// this build yet are do-nothing implementations behind the same interfaces.
// The Dock fallback and the desktop isolation are the application's only
// instances: the session switches them and the delegate restores through
// them.
class SessionManagerComposition {
public:
    // `timerFactory`: the countdown's timers (on their own queue in the
    // application, on the scheduler in a scripted run). `standardDefaults`
    // keeps the backups of the system settings a session changes; it
    // outlives the composition. Session screenshots go to `desktopDirectory`
    // (empty: the user's Desktop folder).
    SessionManagerComposition(Scheduler& scheduler, Clock& clock, const platform::PlatformInterfaces& platform,
                              UserDefaults& standardDefaults, std::shared_ptr<SessionTimerCreating> timerFactory,
                              const QString& desktopDirectory = QString());
    ~SessionManagerComposition();
    SessionManagerComposition(const SessionManagerComposition&) = delete;
    SessionManagerComposition& operator=(const SessionManagerComposition&) = delete;

    SessionManager& manager() const { return *manager_; }
    // Where the in-session bug-report panel sends; empty: not configured.
    void setBugReportEndpoint(const QString& endpoint);
    // The name the app-launch prompt shows for the installed application with
    // that identifier, from a fresh scan (the first bundle that carries it);
    // none when it is not installed.
    static std::optional<QString> installedApplicationName(const platform::FileBrowsing& files,
                                                           const platform::ApplicationBundleReading& bundles,
                                                           const QString& bundleID);
    // The session's panels and the main window during a session.
    SessionUIController& uiController() const { return *uiController_; }
    // The one stage of the application, for its panels.
    StageVeskService& stage() const { return *stage_; }

    // The process-wide services the launch recovery and termination reach.
    DesktopIsolationRecovering& desktopIsolation() const { return *desktopIsolationRecovery_; }
    EmergencyRestoring& dockMissionControlFallback() const { return *dockMissionControlFallback_; }
    EmergencyRestoring& screenshotThumbnailSuppression() const { return *screenshotThumbnailRestore_; }

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    std::shared_ptr<SessionPanelContent> panelContent_;
    std::shared_ptr<SessionUIController> uiController_;
    std::shared_ptr<DesktopIsolationRecovering> desktopIsolationRecovery_;
    std::shared_ptr<EmergencyRestoring> dockMissionControlFallback_;
    std::shared_ptr<EmergencyRestoring> screenshotThumbnailRestore_;
    std::shared_ptr<SessionUIController> makeUIController(Scheduler& scheduler, Clock& clock,
                                                          const platform::PlatformInterfaces& platform,
                                                          UserDefaults& standardDefaults);
    std::shared_ptr<StageVeskService> makeStage(Scheduler& scheduler, Clock& clock,
                                                const platform::PlatformInterfaces& platform,
                                                std::shared_ptr<WorkspaceControlling> workspace);

    std::shared_ptr<StageVeskService> stage_;
    // The stage bars; they outlive the manager, whose stop may dismiss them.
    std::unique_ptr<SessionManager> manager_;
};

} // namespace vesk
