#pragma once

#include "platform/ApplicationActivation.h"
#include "platform/simulated/WindowSpec.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// How an application answers a polite quit request.
enum class QuitBehaviour { quits, quitsLater, refuses };

// When the windows of a freshly launched application show up.
enum class WindowAppearance { afterDelay, never, onOtherSpace };

// What happens when the workspace launches an application: after
// `launchDelay` the process runs (launch notification, completion); after a
// further `windowDelay` its windows appear as scripted.
struct LaunchBehaviour {
    double launchDelay = 0.1;
    double windowDelay = 0.5;
    WindowAppearance appearance = WindowAppearance::afterDelay;
    std::vector<WindowSpec> windows;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    QuitBehaviour quitBehaviour = QuitBehaviour::quits;
    double quitDelay = 1.0;
    // Launching fails with this message (an application that cannot start).
    std::optional<QString> launchError;

    bool operator==(const LaunchBehaviour&) const = default;
};

} // namespace vesk::platform
