#include "enforcement/SystemRunningApplication.h"

namespace vesk {

SystemRunningApplication::SystemRunningApplication(std::shared_ptr<platform::RunningApplication> application)
    : application_(std::move(application))
{
}

std::optional<QString> SystemRunningApplication::bundleIdentifier() const
{
    return application_->bundleIdentifier();
}

qint32 SystemRunningApplication::processIdentifier() const
{
    return static_cast<qint32>(application_->processIdentifier());
}

bool SystemRunningApplication::isTerminated() const
{
    return application_->isTerminated();
}

ApplicationActivationPolicy SystemRunningApplication::activationPolicy() const
{
    switch (application_->activationPolicy()) {
    case platform::ActivationPolicy::regular:
        return ApplicationActivationPolicy::regular;
    case platform::ActivationPolicy::accessory:
        return ApplicationActivationPolicy::accessory;
    case platform::ActivationPolicy::prohibited:
        return ApplicationActivationPolicy::prohibited;
    }
    return ApplicationActivationPolicy::prohibited;
}

bool SystemRunningApplication::isHidden() const
{
    return application_->isHidden();
}

bool SystemRunningApplication::activate(ApplicationActivationOptions options)
{
    return application_->activate(options.activateAllWindows ? platform::ActivateAllWindows : 0);
}

bool SystemRunningApplication::hide()
{
    return application_->hide();
}

bool SystemRunningApplication::unhide()
{
    return application_->unhide();
}

bool SystemRunningApplication::terminate()
{
    return application_->terminate();
}

} // namespace vesk
