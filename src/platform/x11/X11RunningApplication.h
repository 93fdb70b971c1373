#pragma once

#include "platform/RunningApplication.h"

#include <memory>

namespace vesk::platform {

class X11ApplicationRegistry;

// A process of the X11 desktop, read and acted on through the workspace's
// registry. A handle that outlives the workspace reads as terminated.
class X11RunningApplication final : public RunningApplication {
public:
    X11RunningApplication(const std::shared_ptr<X11ApplicationRegistry>& registry, ProcessID pid);

    std::optional<QString> bundleIdentifier() const override { return bundleIdentifier_; }
    ProcessID processIdentifier() const override { return pid_; }
    bool isTerminated() const override;
    ActivationPolicy activationPolicy() const override;
    bool isHidden() const override;
    bool isActive() const override;
    QString localizedName() const override;
    std::optional<QUrl> bundleURL() const override;

    bool activate(int activationOptions) const override;
    // Iconifies every window of the application.
    bool hide() const override;
    bool unhide() const override;
    // Asks each window to close; the process gets SIGTERM when it has none
    // or still runs once they are gone.
    bool terminate() const override;
    // SIGKILL.
    bool forceTerminate() const override;

private:
    // Null once the process or the workspace is gone.
    std::shared_ptr<X11ApplicationRegistry> running() const;

    std::weak_ptr<X11ApplicationRegistry> registry_;
    ProcessID pid_;
    std::optional<QString> bundleIdentifier_;
};

} // namespace vesk::platform
