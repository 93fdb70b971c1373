#include "feedback/BugReportMetadata.h"

#include "core/AppVersion.h"
#include "core/Clock.h"
#include "platform/ScreenProviding.h"

#include <QSysInfo>

namespace vesk {

BugReportMetadata BugReportMetadata::current(const platform::ScreenProviding& screens, const Clock& clock)
{
    return current(screens, clock, mainBundleInfoDictionary());
}

BugReportMetadata BugReportMetadata::current(const platform::ScreenProviding& screens, const Clock& clock,
                                             const QVariantMap& bundleInfo)
{
    return BugReportMetadata{
        appVersionString(bundleInfo),
        appBuildString(bundleInfo),
        QSysInfo::prettyProductName(),
        static_cast<int>(screens.screens().size()),
        clock.now(),
    };
}

} // namespace vesk
