#pragma once

#include "session/ApplicationCapabilityDetecting.h"

namespace vesk {

// Reads the URL types of the bundle's Info.plist.
class BundleApplicationCapabilityDetector final : public ApplicationCapabilityDetecting {
public:
    bool supportsWebURLSchemes(const QUrl& applicationURL) const override;
};

} // namespace vesk
