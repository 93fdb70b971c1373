#pragma once

#include <QUrl>
#include <QVariantMap>

#include <optional>

namespace vesk::platform {

// Reads application bundles.
class ApplicationBundleReading {
public:
    virtual ~ApplicationBundleReading() = default;
    // The information dictionary of the bundle at a URL; none when there is no
    // bundle there or its dictionary cannot be read.
    virtual std::optional<QVariantMap> infoDictionary(const QUrl& bundleURL) const = 0;
};

} // namespace vesk::platform
