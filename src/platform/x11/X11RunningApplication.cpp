#include "platform/x11/X11RunningApplication.h"

#include "platform/x11/X11ApplicationRegistry.h"
#include "platform/x11/XdgBundleLocation.h"

namespace vesk::platform {

X11RunningApplication::X11RunningApplication(const std::shared_ptr<X11ApplicationRegistry>& registry, ProcessID pid)
    : registry_(registry)
    , pid_(pid)
    , bundleIdentifier_(registry->applicationID(pid))
{
}

std::shared_ptr<X11ApplicationRegistry> X11RunningApplication::running() const
{
    std::shared_ptr<X11ApplicationRegistry> registry = registry_.lock();
    return registry && registry->isRunning(pid_) ? registry : nullptr;
}

bool X11RunningApplication::isTerminated() const
{
    return !running();
}

ActivationPolicy X11RunningApplication::activationPolicy() const
{
    const auto registry = running();
    return registry ? registry->activationPolicy(pid_) : ActivationPolicy::prohibited;
}

bool X11RunningApplication::isHidden() const
{
    const auto registry = running();
    return registry && registry->isHidden(pid_);
}

bool X11RunningApplication::isActive() const
{
    const auto registry = running();
    return registry && registry->activeProcess() == pid_;
}

QString X11RunningApplication::localizedName() const
{
    const auto registry = running();
    return registry ? registry->localizedName(pid_) : bundleIdentifier_.value_or(QString());
}

std::optional<QUrl> X11RunningApplication::bundleURL() const
{
    if (!bundleIdentifier_)
        return std::nullopt;
    return XdgBundleLocation::bundleURL(*bundleIdentifier_);
}

bool X11RunningApplication::activate(int activationOptions) const
{
    const auto registry = running();
    return registry && registry->activate(pid_, activationOptions);
}

bool X11RunningApplication::hide() const
{
    const auto registry = running();
    return registry && registry->hide(pid_);
}

bool X11RunningApplication::unhide() const
{
    const auto registry = running();
    return registry && registry->unhide(pid_);
}

bool X11RunningApplication::terminate() const
{
    const auto registry = running();
    return registry && registry->terminate(pid_);
}

bool X11RunningApplication::forceTerminate() const
{
    const auto registry = running();
    return registry && registry->forceTerminate(pid_);
}

} // namespace vesk::platform
