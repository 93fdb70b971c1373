#pragma once

#include "analytics/client/ClientHost.h"
#include "analytics/client/SignalParameters.h"

#include <QString>

#include <memory>
#include <optional>

namespace vesk::telemetry {

class TelemetryManagerConfiguration;

// The analytics client's entry points. Without a running manager (before
// initialize, after terminate) every operation but initialize does nothing.
class Telemetry {
public:
    static constexpr const char* durationParameterKey = "Telemetry.Signal.durationInSeconds";

    // Starts the client, replacing any running one.
    static void initialize(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host);
    static void terminate();
    static bool isInitialized();

    static void signal(const QString& signalName, const SignalParameters& parameters = {},
                       std::optional<double> floatValue = std::nullopt,
                       const std::optional<QString>& customUserID = std::nullopt);
    // Sets the running configuration's default user; none clears it.
    static void updateDefaultUserID(const std::optional<QString>& user);
    static void generateNewSession();
    static void requestImmediateSync();

    // Begins measuring the time until stopAndSendDurationSignal under the
    // name; inactive time is left out unless included.
    static void startDurationSignal(const QString& signalName, const SignalParameters& parameters = {},
                                    bool includeBackgroundTime = false);
    static void cancelDurationSignal(const QString& signalName);
    // Sends the signal with the measured seconds (rounded down to the
    // millisecond) under durationParameterKey, the start's parameters over
    // them and the given ones over those; nothing for a name not measured.
    static void stopAndSendDurationSignal(const QString& signalName, const SignalParameters& parameters = {},
                                          std::optional<double> floatValue = std::nullopt,
                                          const std::optional<QString>& customUserID = std::nullopt);

    // The shortest text of the seconds rounded down to three decimals ("12.5", "3.141").
    static QString durationText(double seconds);
};

} // namespace vesk::telemetry
