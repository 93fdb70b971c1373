#pragma once

#include "platform/ApplicationActivation.h"
#include "platform/Identifiers.h"

#include <QString>

#include <xcb/xcb.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <vector>

namespace vesk::platform {

class X11WindowCache;
class X11WindowControl;
class XdgInstalledApplications;

// The running applications of the X11 desktop: each process that owns
// managed windows, and each process Vesk launched while it lives. A process
// is taken in once, when it is first seen, with its desktop file id found
// then (XdgApplicationMatcher; /proc is read only at that moment), so that
// lookups by process cost nothing. Main thread only.
class X11ApplicationRegistry {
public:
    X11ApplicationRegistry(const X11WindowCache& cache, X11WindowControl& control,
                           const XdgInstalledApplications& applications, ProcessID ownPID);

    // Called for each process taken in, and when the active window's process changes.
    std::function<void(ProcessID)> onLaunched;
    std::function<void(ProcessID)> onActivated;

    // Takes in the window cache's state: new processes, processes gone, the
    // active one, pending quit requests.
    void update();
    // A process Vesk has started itself; it counts as running while it lives.
    void addLaunched(ProcessID pid, const QString& applicationID);
    // Launched processes without windows yet, or quit requests pending: the
    // registry must look again even when the window cache stays quiet.
    bool needsPolling() const;

    // In the order they were taken in.
    std::vector<ProcessID> processes() const;
    bool isRunning(ProcessID pid) const { return records_.contains(pid); }
    std::optional<QString> applicationID(ProcessID pid) const;
    std::optional<ProcessID> runningProcess(const QString& applicationID) const;
    std::optional<ProcessID> activeProcess() const;

    QString localizedName(ProcessID pid) const;
    ActivationPolicy activationPolicy(ProcessID pid) const;
    // Every window of the process is iconified (and it has one).
    bool isHidden(ProcessID pid) const;

    bool activate(ProcessID pid, int activationOptions);
    bool hide(ProcessID pid);
    bool unhide(ProcessID pid);
    bool terminate(ProcessID pid);
    bool forceTerminate(ProcessID pid);

private:
    struct Record {
        quint64 order = 0;
        std::optional<QString> applicationID;
        bool launchedByVesk = false;
    };

    // Front to back.
    std::vector<xcb_window_t> windowsOf(ProcessID pid) const;
    void takeIn(ProcessID pid, std::optional<QString> applicationID, bool launchedByVesk);
    std::optional<QString> match(ProcessID pid, xcb_window_t window) const;
    static bool isAlive(ProcessID pid);
    static bool signal(ProcessID pid, int signalNumber);

    const X11WindowCache& cache_;
    X11WindowControl& control_;
    const XdgInstalledApplications& applications_;
    const ProcessID ownPID_;
    std::map<ProcessID, Record> records_;
    // Asked to quit: SIGTERM follows once their windows are gone and they still run.
    std::set<ProcessID> quitRequested_;
    std::optional<ProcessID> activePID_;
    quint64 nextOrder_ = 0;
};

} // namespace vesk::platform
