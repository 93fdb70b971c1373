#pragma once

#include "platform/OwnApplicationSpec.h"
#include "platform/simulated/DesktopApplication.h"

#include <QString>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// The processes of the simulated desktop, Vesk's own among them: launches,
// activation and the frontmost application, hiding, quitting (now, later or
// not at all), each application's main window, and the Dock, whose settings
// are what it read when it last started.
class DesktopProcesses final {
public:
    explicit DesktopProcesses(SimulatedDesktop& desktop);

    // Puts a process on the desktop (launch notification); it does not come
    // forward until it is activated.
    ProcessID addRunningApplication(const ApplicationSpec& spec);
    // Every application ever started, terminated ones included, in workspace order.
    const std::vector<DesktopApplication>& applications() const { return applications_; }
    const DesktopApplication* application(ProcessID pid) const;
    DesktopApplication* mutableApplication(ProcessID pid);
    // The first application with that identifier that has not terminated.
    const DesktopApplication* runningApplication(const QString& bundleIdentifier) const;
    std::optional<ProcessID> frontmostPID() const { return frontmostPID_; }
    // The bundle identifier of a running process; none when it has exited or has none.
    std::optional<QString> bundleIdentifierOfProcess(ProcessID pid) const;
    // Vesk's process takes the identity of `spec`, keeping its entry, its
    // windows and its place in front.
    void adoptOwnProcess(ProcessID previous, const OwnApplicationSpec& spec);

    bool activate(ProcessID pid, int activationOptions);
    bool hide(ProcessID pid);
    bool unhide(ProcessID pid);
    // A polite quit request: the application quits now, later or not at all,
    // as its QuitBehaviour says. False when it has already terminated.
    bool terminate(ProcessID pid);
    // The process ends at once (a crash, a forced quit).
    bool forceTerminate(ProcessID pid);
    // The process has ended: its windows go, and another application comes
    // forward when it was in front.
    void finishTermination(ProcessID pid);
    // The frontmost application leaves the front: the owner of the frontmost
    // standard window on screen comes forward, else the Finder.
    void chooseNewFrontmost(ProcessID leaving);
    void setQuitBehaviour(ProcessID pid, QuitBehaviour behaviour, double delay);
    void setAccessibilityResponsive(ProcessID pid, bool responsive);
    void setRefusesHide(ProcessID pid, bool refuses);

    // An application's main window: the one set last, else its frontmost
    // standard window that is not minimised.
    std::optional<WindowNumber> mainWindow(ProcessID pid) const;
    void setMainWindow(ProcessID pid, WindowNumber number);
    // A window that went is no application's main window.
    void forgetMainWindow(WindowNumber number);

    // Restarts the Dock process (what "killall Dock" does); false when no Dock runs.
    bool restartDock();
    int dockRestartCount() const { return dockRestartCount_; }
    // The Dock settings that the running Dock read when it last started.
    const QVariantMap& appliedDockPreferences() const { return appliedDockPreferences_; }
    // The running Dock reads its settings from the defaults domains.
    void readDockPreferences();

private:
    ProcessID nextPID();
    void bringApplicationWindowsToFront(ProcessID pid, bool allWindows);
    void switchToSpaceOfApplicationIfNeeded(ProcessID pid);

    SimulatedDesktop& desktop_;
    std::vector<DesktopApplication> applications_;
    std::optional<ProcessID> frontmostPID_;
    ProcessID nextPID_ = 500;
    int dockRestartCount_ = 0;
    QVariantMap appliedDockPreferences_;
};

} // namespace vesk::platform
