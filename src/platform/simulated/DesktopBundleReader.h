#pragma once

#include "platform/ApplicationBundleReading.h"

namespace vesk::platform {

// Reads the simulated desktop's bundles: folders with a Contents/Info.plist,
// reached through file URLs.
class DesktopBundleReader final : public ApplicationBundleReading {
public:
    std::optional<QVariantMap> infoDictionary(const QUrl& bundleURL) const override;
};

} // namespace vesk::platform
