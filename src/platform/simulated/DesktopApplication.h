#pragma once

#include "platform/simulated/ApplicationSpec.h"
#include "platform/simulated/DesktopWindow.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// One running (or terminated) application as the model holds it, in the
// workspace's order.
struct DesktopApplication {
    ProcessID pid = 0;
    std::optional<QString> bundleIdentifier;
    QString name;
    std::optional<QString> bundlePath;
    ActivationPolicy activationPolicy = ActivationPolicy::regular;
    bool hidden = false;
    bool terminated = false;
    QuitBehaviour quitBehaviour = QuitBehaviour::quits;
    double quitDelay = 1.0;
    bool accessibilityResponsive = true;
    // Hiding fails (the process does not answer the request).
    bool refusesHide = false;
    bool quitPending = false;
    std::optional<WindowNumber> mainWindow;

    bool operator==(const DesktopApplication&) const = default;
};

} // namespace vesk::platform
