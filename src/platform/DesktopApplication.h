#pragma once

#include "platform/DesktopWindow.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk::platform {

// Raw values as the platform numbers them.
enum class ActivationPolicy : int { regular = 0, accessory = 1, prohibited = 2 };

// Activation option flags.
enum ActivationOption : int {
    ActivateAllWindows = 1,
    ActivateIgnoringOtherApps = 2,
};

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
    bool quitPending = false;
    std::optional<WindowNumber> mainWindow;

    bool operator==(const DesktopApplication&) const = default;
};

} // namespace vesk::platform
