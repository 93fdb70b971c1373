#include "platform/simulated/DesktopBundleReader.h"

#include "platform/simulated/ApplicationBundle.h"

namespace vesk::platform {

std::optional<QVariantMap> DesktopBundleReader::infoDictionary(const QUrl& bundleURL) const
{
    if (!bundleURL.isLocalFile())
        return std::nullopt;
    const auto bundle = ApplicationBundle::open(bundleURL.toLocalFile());
    if (!bundle)
        return std::nullopt;
    return bundle->infoDictionary();
}

} // namespace vesk::platform
