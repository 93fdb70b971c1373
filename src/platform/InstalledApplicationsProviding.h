#pragma once

#include "platform/InstalledApplication.h"

#include <vector>

namespace vesk::platform {

// The applications installed in the system's application folders.
class InstalledApplicationsProviding {
public:
    virtual ~InstalledApplicationsProviding() = default;
    // A fresh scan of "/Applications" and "/System/Applications" (direct
    // contents, bundles with an identifier), with the Finder added unless a
    // bundle with its identifier was found, sorted by name (case-insensitive).
    virtual std::vector<InstalledApplication> installedApplications() const = 0;
};

} // namespace vesk::platform
