#pragma once

#include "platform/ApplicationBundleReading.h"
#include "session/ApplicationCapabilityDetecting.h"

namespace vesk {

// Reads the URL types of the bundle's Info.plist.
class BundleApplicationCapabilityDetector final : public ApplicationCapabilityDetecting {
public:
    explicit BundleApplicationCapabilityDetector(const platform::ApplicationBundleReading& bundles) : bundles_(bundles)
    {
    }

    bool supportsWebURLSchemes(const QUrl& applicationURL) const override;

private:
    const platform::ApplicationBundleReading& bundles_;
};

} // namespace vesk
