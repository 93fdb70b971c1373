#pragma once

#include <QDateTime>
#include <QString>
#include <QVariantMap>

namespace vesk {

class Clock;

namespace platform {
class ScreenProviding;
}

// The technical snapshot a report carries: versions, system, screens, time.
struct BugReportMetadata {
    QString appVersion;
    QString build;
    QString osVersion;
    int monitorCount = 0;
    QDateTime timestamp;

    bool operator==(const BugReportMetadata&) const = default;

    // Now: the versions from the bundle's information entries ("?" for a
    // missing or non-text entry), the system's name and version, the number
    // of screens.
    static BugReportMetadata current(const platform::ScreenProviding& screens, const Clock& clock);
    static BugReportMetadata current(const platform::ScreenProviding& screens, const Clock& clock,
                                     const QVariantMap& bundleInfo);
};

} // namespace vesk
