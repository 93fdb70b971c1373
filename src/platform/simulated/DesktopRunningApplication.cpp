#include "platform/simulated/DesktopRunningApplication.h"

#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

DesktopRunningApplication::DesktopRunningApplication(SimulatedDesktop& desktop, ProcessID pid)
    : desktop_(&desktop)
    , pid_(pid)
{
    if (const DesktopApplication* app = desktop.application(pid))
        bundleIdentifier_ = app->bundleIdentifier;
}

const DesktopApplication* DesktopRunningApplication::state() const
{
    return desktop_ ? desktop_->application(pid_) : nullptr;
}

bool DesktopRunningApplication::isTerminated() const
{
    const DesktopApplication* app = state();
    return !app || app->terminated;
}

ActivationPolicy DesktopRunningApplication::activationPolicy() const
{
    const DesktopApplication* app = state();
    return app ? app->activationPolicy : ActivationPolicy::prohibited;
}

bool DesktopRunningApplication::isHidden() const
{
    const DesktopApplication* app = state();
    return app && app->hidden;
}

bool DesktopRunningApplication::isActive() const
{
    return desktop_ && desktop_->frontmostPID() == pid_;
}

QString DesktopRunningApplication::localizedName() const
{
    const DesktopApplication* app = state();
    return app ? app->name : QString();
}

std::optional<QUrl> DesktopRunningApplication::bundleURL() const
{
    const DesktopApplication* app = state();
    if (!app || !app->bundlePath)
        return std::nullopt;
    return desktop_->urlForPlatformPath(*app->bundlePath);
}

bool DesktopRunningApplication::activate(int activationOptions) const
{
    return desktop_ && desktop_->activate(pid_, activationOptions);
}

bool DesktopRunningApplication::hide() const
{
    return desktop_ && desktop_->hide(pid_);
}

bool DesktopRunningApplication::unhide() const
{
    return desktop_ && desktop_->unhide(pid_);
}

bool DesktopRunningApplication::terminate() const
{
    return desktop_ && desktop_->terminate(pid_);
}

bool DesktopRunningApplication::forceTerminate() const
{
    return desktop_ && desktop_->forceTerminate(pid_);
}

} // namespace vesk::platform
