#pragma once

#include "platform/DesktopApplication.h"

#include <QPointer>
#include <QString>
#include <QUrl>

#include <optional>

namespace vesk::platform {

class SimulatedDesktop;

// A handle to one process of the desktop, the stand-in for a running
// application object. The identifier and the bundle identifier are fixed when
// the handle is made, so a handle may be carried to any thread; everything
// else reads or changes the desktop and belongs on the main thread. A handle
// that outlives its desktop reads as terminated.
class RunningApplication {
public:
    RunningApplication(SimulatedDesktop& desktop, ProcessID pid);

    std::optional<QString> bundleIdentifier() const { return bundleIdentifier_; }
    ProcessID processIdentifier() const { return pid_; }
    bool isTerminated() const;
    ActivationPolicy activationPolicy() const;
    bool isHidden() const;
    bool isActive() const;
    QString localizedName() const;
    std::optional<QUrl> bundleURL() const;

    bool activate(int activationOptions) const;
    bool hide() const;
    bool unhide() const;
    bool terminate() const;
    bool forceTerminate() const;

    bool operator==(const RunningApplication& other) const { return pid_ == other.pid_; }

private:
    const DesktopApplication* state() const;

    QPointer<SimulatedDesktop> desktop_;
    ProcessID pid_;
    std::optional<QString> bundleIdentifier_;
};

} // namespace vesk::platform
