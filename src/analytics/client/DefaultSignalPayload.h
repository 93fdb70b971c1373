#pragma once

#include "analytics/client/SignalParameters.h"
#include "analytics/client/SystemFacts.h"

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk::telemetry {

// The device, application, calendar and usage facts added to every signal's
// payload, computed anew for each signal.
class DefaultSignalPayload {
public:
    // The name the analytics service files this desktop platform under, in
    // every platform and system-version entry.
    static inline const QString platformName = QStringLiteral("macOS");
    static inline const QString clientName = QStringLiteral("SwiftSDK");
    static inline const QString clientVersion = QStringLiteral("2.14.1");

    // The fixed entries, then the accessibility, calendar and extension
    // entries, then `sessionStatistics` (each later group replacing keys of
    // the earlier ones).
    static SignalParameters parameters(const SystemFacts& facts, const QDateTime& now,
                                       const SignalParameters& sessionStatistics);

    // "UTC+0", "UTC-3:30", "UTC+5:30".
    static QString timeZoneText(int offsetFromUtcSeconds);
    // Whether the build came through the store's test channel.
    static bool isTestFlight(const std::optional<QString>& storeReceiptPath);
    // The calendar entries of a local date and time ("-1" for each entry of an invalid one).
    static SignalParameters calendarEntries(const QDateTime& localNow);

private:
    static SignalParameters fixedEntries(const SystemFacts& facts, const QDateTime& now);
};

} // namespace vesk::telemetry
