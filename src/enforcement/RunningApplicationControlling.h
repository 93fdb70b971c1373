#pragma once

#include <QString>

#include <optional>

namespace vesk {

// How a running application takes part in the user interface.
enum class ApplicationActivationPolicy { regular, accessory, prohibited };

QString toRaw(ApplicationActivationPolicy policy);

struct ApplicationActivationOptions {
    // Bring every window of the application forward, not only the key window.
    bool activateAllWindows = false;

    bool operator==(const ApplicationActivationOptions&) const = default;
};

// One running application of the workspace.
class RunningApplicationControlling {
public:
    virtual ~RunningApplicationControlling() = default;

    virtual std::optional<QString> bundleIdentifier() const = 0;
    virtual qint32 processIdentifier() const = 0;
    virtual bool isTerminated() const = 0;
    virtual ApplicationActivationPolicy activationPolicy() const = 0;
    virtual bool isHidden() const = 0;
    virtual bool activate(ApplicationActivationOptions options) = 0;
    virtual bool hide() = 0;
    virtual bool unhide() = 0;
    // A polite quit request.
    virtual bool terminate() = 0;
};

} // namespace vesk
