#pragma once

#include "platform/simulated/LaunchBehaviour.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// A running application to put on the desktop. The bundle, when given, is a
// platform path such as "/Applications/Web Browser.app".
struct ApplicationSpec {
    std::optional<QString> bundleIdentifier;
    QString name;
    std::optional<QString> bundlePath;
    std::optional<ProcessID> pid;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    bool hidden = false;
    QuitBehaviour quitBehaviour = QuitBehaviour::quits;
    double quitDelay = 1.0;
    // A hung application: every accessibility call times out.
    bool accessibilityResponsive = true;
    std::vector<WindowSpec> windows;

    bool operator==(const ApplicationSpec&) const = default;
};

} // namespace vesk::platform
