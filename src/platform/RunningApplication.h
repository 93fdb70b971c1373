#pragma once

#include "platform/ApplicationActivation.h"
#include "platform/Identifiers.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace vesk::platform {

// One process of the workspace. The identifier and the bundle identifier are
// fixed when the handle is made, so a handle may be carried to any thread;
// everything else reads or changes the desktop and belongs on the main
// thread. A handle that outlives its desktop reads as terminated.
class RunningApplication {
public:
    virtual ~RunningApplication() = default;

    virtual std::optional<QString> bundleIdentifier() const = 0;
    virtual ProcessID processIdentifier() const = 0;
    virtual bool isTerminated() const = 0;
    virtual ActivationPolicy activationPolicy() const = 0;
    virtual bool isHidden() const = 0;
    virtual bool isActive() const = 0;
    virtual QString localizedName() const = 0;
    virtual std::optional<QUrl> bundleURL() const = 0;

    // `activationOptions`: ActivationOption flags.
    virtual bool activate(int activationOptions) const = 0;
    virtual bool hide() const = 0;
    virtual bool unhide() const = 0;
    // A polite quit request.
    virtual bool terminate() const = 0;
    // The process ends at once.
    virtual bool forceTerminate() const = 0;
};

} // namespace vesk::platform
