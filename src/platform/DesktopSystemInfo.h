#pragma once

#include "platform/SystemInfoProviding.h"

namespace vesk::platform {

class SimulatedDesktop;

// The simulated desktop's machine, appearance and defaults domains.
class DesktopSystemInfo final : public SystemInfoProviding {
public:
    explicit DesktopSystemInfo(const SimulatedDesktop& desktop) : desktop_(desktop) {}
    QString hardwareModel() const override;
    bool isDarkAppearance() const override;
    std::optional<QVariantMap> persistentDefaultsDomain(const QString& name) const override;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
