#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk {

// When the application monitor may run a full sweep on request: the periodic
// timer always may; other requests wait 0.8 s after the last full sweep.
struct AppMonitorPolicy {
    static constexpr double fullSweepThrottleInterval = 0.8;
    static inline const QString throttleExemptReason = QStringLiteral("periodic");

    bool allowsFullSweep(const QString& reason, const std::optional<QDateTime>& lastFullSweepAt,
                         const QDateTime& now) const;
};

} // namespace vesk
