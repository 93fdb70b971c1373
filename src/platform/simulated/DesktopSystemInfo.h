#pragma once

#include "platform/SystemInfoProviding.h"

namespace vesk::platform {

// The simulated desktop's machine and appearance.
class DesktopSystemInfo final : public SystemInfoProviding {
public:
    // The machine's model name (the scenario's, else the DMI product name of this machine).
    QString hardwareModel() const override { return hardwareModel_; }
    void setHardwareModel(const QString& model) { hardwareModel_ = model; }
    // The system-wide appearance the user chose: dark, else light.
    bool isDarkAppearance() const override { return darkAppearance_; }
    void setDarkAppearance(bool dark) { darkAppearance_ = dark; }
    static QString machineHardwareModel();

private:
    QString hardwareModel_ = machineHardwareModel();
    bool darkAppearance_ = false;
};

} // namespace vesk::platform
