#pragma once

#include "enforcement/MouseBlockerEventTapInstalling.h"
#include "logging/VeskLogger.h"

namespace vesk {

// Installs the mouse blocker's tap through the platform's event taps.
class SystemMouseBlockerEventTapInstaller final : public MouseBlockerEventTapInstalling {
public:
    explicit SystemMouseBlockerEventTapInstaller(platform::EventTapping& eventTaps);

    std::optional<MouseBlockerInstalledTap> install(platform::EventTapCallback callback,
                                                    std::uint64_t eventMask) override;
    void remove(const MouseBlockerInstalledTap& tap) override;
    void enable(const MouseBlockerInstalledTap& tap) override;
    bool isEnabled(const MouseBlockerInstalledTap& tap) const override;

private:
    platform::EventTapping& eventTaps_;
    VeskLogger logger_{QStringLiteral("MouseBlockerService")};
};

} // namespace vesk
