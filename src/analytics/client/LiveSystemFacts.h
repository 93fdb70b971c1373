#pragma once

#include "analytics/client/SystemFactsProviding.h"

#include <QVariantMap>

namespace vesk::platform {
class DefaultsDomainsProviding;
class ScreenProviding;
class SystemInfoProviding;
} // namespace vesk::platform

namespace vesk::telemetry {

// The facts of the running system: the machine, appearance, universal-access
// domain and main screen from the platform, the system version, processor, locale,
// time zone and layout direction from Qt, the version entries from the main
// bundle's information dictionary.
class LiveSystemFacts final : public SystemFactsProviding {
public:
    LiveSystemFacts(const platform::SystemInfoProviding& systemInfo, const platform::ScreenProviding& screens,
                    const platform::DefaultsDomainsProviding& defaultsDomains, QVariantMap mainBundleInfo);

    SystemFacts currentFacts() const override;
    QTimeZone timeZone() const override;

private:
    const platform::SystemInfoProviding& systemInfo_;
    const platform::ScreenProviding& screens_;
    const platform::DefaultsDomainsProviding& defaultsDomains_;
    QVariantMap mainBundleInfo_;
};

} // namespace vesk::telemetry
