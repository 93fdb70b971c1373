#include "platform/RunningApplication.h"

#include "platform/SimulatedDesktop.h"

namespace vesk::platform {

RunningApplication::RunningApplication(SimulatedDesktop& desktop, ProcessID pid)
    : desktop_(&desktop)
    , pid_(pid)
{
    if (const DesktopApplication* app = desktop.application(pid))
        bundleIdentifier_ = app->bundleIdentifier;
}

const DesktopApplication* RunningApplication::state() const
{
    return desktop_ ? desktop_->application(pid_) : nullptr;
}

bool RunningApplication::isTerminated() const
{
    const DesktopApplication* app = state();
    return !app || app->terminated;
}

ActivationPolicy RunningApplication::activationPolicy() const
{
    const DesktopApplication* app = state();
    return app ? app->activationPolicy : ActivationPolicy::prohibited;
}

bool RunningApplication::isHidden() const
{
    const DesktopApplication* app = state();
    return app && app->hidden;
}

bool RunningApplication::isActive() const
{
    return desktop_ && desktop_->frontmostPID() == pid_;
}

QString RunningApplication::localizedName() const
{
    const DesktopApplication* app = state();
    return app ? app->name : QString();
}

std::optional<QUrl> RunningApplication::bundleURL() const
{
    const DesktopApplication* app = state();
    if (!app || !app->bundlePath)
        return std::nullopt;
    return desktop_->urlForPlatformPath(*app->bundlePath);
}

bool RunningApplication::activate(int activationOptions) const
{
    return desktop_ && desktop_->activate(pid_, activationOptions);
}

bool RunningApplication::hide() const
{
    return desktop_ && desktop_->hide(pid_);
}

bool RunningApplication::unhide() const
{
    return desktop_ && desktop_->unhide(pid_);
}

bool RunningApplication::terminate() const
{
    return desktop_ && desktop_->terminate(pid_);
}

bool RunningApplication::forceTerminate() const
{
    return desktop_ && desktop_->forceTerminate(pid_);
}

} // namespace vesk::platform
