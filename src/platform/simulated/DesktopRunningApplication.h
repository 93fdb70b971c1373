#pragma once

#include "platform/RunningApplication.h"
#include "platform/simulated/DesktopApplication.h"

#include <QPointer>

namespace vesk::platform {

class SimulatedDesktop;

// A process of the simulated desktop. A handle that outlives the desktop
// reads as terminated.
class DesktopRunningApplication final : public RunningApplication {
public:
    DesktopRunningApplication(SimulatedDesktop& desktop, ProcessID pid);

    std::optional<QString> bundleIdentifier() const override { return bundleIdentifier_; }
    ProcessID processIdentifier() const override { return pid_; }
    bool isTerminated() const override;
    ActivationPolicy activationPolicy() const override;
    bool isHidden() const override;
    bool isActive() const override;
    QString localizedName() const override;
    std::optional<QUrl> bundleURL() const override;

    bool activate(int activationOptions) const override;
    bool hide() const override;
    bool unhide() const override;
    bool terminate() const override;
    bool forceTerminate() const override;

private:
    const DesktopApplication* state() const;

    QPointer<SimulatedDesktop> desktop_;
    ProcessID pid_;
    std::optional<QString> bundleIdentifier_;
};

} // namespace vesk::platform
