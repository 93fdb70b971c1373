#include "analytics/client/Telemetry.h"

#include "analytics/client/DurationSignalTracker.h"
#include "analytics/client/TelemetryManager.h"
#include "core/TextFormat.h"

#include <cmath>

namespace vesk::telemetry {

void Telemetry::initialize(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host)
{
    TelemetryManager::initialize(std::move(configuration), host);
}

void Telemetry::terminate()
{
    TelemetryManager::terminate();
}

bool Telemetry::isInitialized()
{
    return TelemetryManager::isInitialized();
}

void Telemetry::signal(const QString& signalName, const SignalParameters& parameters, std::optional<double> floatValue,
                       const std::optional<QString>& customUserID)
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->signal(signalName, parameters, floatValue, customUserID);
}

void Telemetry::updateDefaultUserID(const std::optional<QString>& user)
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->updateDefaultUser(user);
}

void Telemetry::generateNewSession()
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->generateNewSession();
}

void Telemetry::requestImmediateSync()
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->requestImmediateSync();
}

void Telemetry::startDurationSignal(const QString& signalName, const SignalParameters& parameters,
                                    bool includeBackgroundTime)
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->durationTracker().startTracking(signalName, parameters, includeBackgroundTime);
}

void Telemetry::cancelDurationSignal(const QString& signalName)
{
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->durationTracker().stopTracking(signalName);
}

void Telemetry::stopAndSendDurationSignal(const QString& signalName, const SignalParameters& parameters,
                                          std::optional<double> floatValue, const std::optional<QString>& customUserID)
{
    TelemetryManager* manager = TelemetryManager::shared();
    if (!manager)
        return;
    auto measured = manager->durationTracker().stopTracking(signalName);
    if (!measured)
        return;
    SignalParameters merged{{QString::fromLatin1(durationParameterKey), durationText(measured->first)}};
    mergeParameters(merged, measured->second);
    mergeParameters(merged, parameters);
    manager->sendInternalSignal(signalName, merged, floatValue, customUserID);
}

QString Telemetry::durationText(double seconds)
{
    return doubleText(std::floor(seconds * 1000) / 1000);
}

} // namespace vesk::telemetry
