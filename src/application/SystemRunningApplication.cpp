#include "application/SystemRunningApplication.h"

namespace vesk {

ApplicationActivationPolicy SystemRunningApplication::activationPolicy() const
{
    switch (application_.activationPolicy()) {
    case platform::ActivationPolicy::regular:
        return ApplicationActivationPolicy::regular;
    case platform::ActivationPolicy::accessory:
        return ApplicationActivationPolicy::accessory;
    case platform::ActivationPolicy::prohibited:
        break;
    }
    return ApplicationActivationPolicy::prohibited;
}

bool SystemRunningApplication::activate(ApplicationActivationOptions options)
{
    return application_.activate(options.activateAllWindows ? platform::ActivateAllWindows : 0);
}

} // namespace vesk
