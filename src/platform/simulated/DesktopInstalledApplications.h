#pragma once

#include "platform/InstalledApplicationsProviding.h"

namespace vesk::platform {

class SimulatedDesktop;

// The application bundles in the simulated desktop's application folders.
class DesktopInstalledApplications final : public InstalledApplicationsProviding {
public:
    explicit DesktopInstalledApplications(const SimulatedDesktop& desktop) : desktop_(desktop) {}

    // Scans the bundle folders under the desktop's root (hidden entries
    // skipped) and reads each bundle's Info.plist.
    std::vector<InstalledApplication> installedApplications() const override;

private:
    const SimulatedDesktop& desktop_;
};

} // namespace vesk::platform
