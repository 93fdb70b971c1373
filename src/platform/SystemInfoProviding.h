#pragma once

#include <QString>

namespace vesk::platform {

// What the system says about the machine and the user's system-wide choices,
// beyond what Qt answers itself.
class SystemInfoProviding {
public:
    virtual ~SystemInfoProviding() = default;
    // The machine's model name; empty when the system does not know it.
    virtual QString hardwareModel() const = 0;
    // Whether the system-wide appearance is a dark one.
    virtual bool isDarkAppearance() const = 0;
};

} // namespace vesk::platform
