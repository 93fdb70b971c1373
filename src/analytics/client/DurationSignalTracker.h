#pragma once

#include "analytics/client/SignalParameters.h"

#include <QDateTime>
#include <QObject>

#include <map>
#include <optional>
#include <utility>

namespace vesk {
class Clock;
} // namespace vesk

namespace vesk::platform {
class ApplicationActivity;
} // namespace vesk::platform

namespace vesk::telemetry {

// Measures named durations between a start and a stop, leaving out the time
// Vesk is not the active application unless a measurement asks for it.
// Main thread only.
class DurationSignalTracker final : public QObject {
    Q_OBJECT

public:
    struct CachedData {
        QDateTime startTime;
        SignalParameters parameters;
        bool includeBackgroundTime = false;
    };

    DurationSignalTracker(Clock& clock, platform::ApplicationActivity& applicationActivity, QObject* parent = nullptr);

    // Replaces a measurement already running under the name.
    void startTracking(const QString& signalName, const SignalParameters& parameters, bool includeBackgroundTime);
    // The elapsed seconds (never below zero) and the start's parameters;
    // none when the name is not being measured. Ends the measurement.
    std::optional<std::pair<double, SignalParameters>> stopTracking(const QString& signalName);

    void handleDidEnterBackgroundNotification();
    void handleWillEnterForegroundNotification();

    const std::map<QString, CachedData>& startedSignals() const { return startedSignals_; }

private:
    Clock& clock_;
    std::map<QString, CachedData> startedSignals_;
    std::optional<QDateTime> lastEnteredBackground_;
};

} // namespace vesk::telemetry
