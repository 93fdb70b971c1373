#pragma once

#include "platform/SystemInfoProviding.h"

namespace vesk::platform {

class SimulatedDesktop;

// The simulated desktop's machine and appearance.
class DesktopSystemInfo final : public SystemInfoProviding {
public:
    explicit DesktopSystemInfo(const SimulatedDesktop& desktop) : desktop_(desktop) { }
    QString hardwareModel() const override;
    bool isDarkAppearance() const override;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
