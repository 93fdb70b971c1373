#include "analytics/client/PresetSignals.h"

#include "analytics/client/IdentifiableError.h"
#include "analytics/client/TelemetryManager.h"
#include "analytics/client/TelemetryManagerConfiguration.h"

namespace vesk::telemetry {

namespace {

std::optional<QString>& navigationPath()
{
    static std::optional<QString> path;
    return path;
}

} // namespace

void PresetSignals::send(const QString& name, SignalParameters own, const SignalParameters& parameters,
                         std::optional<double> floatValue, const User& user)
{
    mergeParameters(own, parameters);
    if (TelemetryManager* manager = TelemetryManager::shared())
        manager->sendInternalSignal(name, own, floatValue, user);
}

void PresetSignals::userAcquired(const QString& channel, const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Acquisition.userAcquired", {{"Telemetry.Acquisition.channel", channel}}, parameters, std::nullopt,
         user);
}

void PresetSignals::leadStarted(const QString& leadID, const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Acquisition.leadStarted", {{"Telemetry.Acquisition.leadID", leadID}}, parameters, std::nullopt,
         user);
}

void PresetSignals::leadConverted(const QString& leadID, const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Acquisition.leadConverted", {{"Telemetry.Acquisition.leadID", leadID}}, parameters, std::nullopt,
         user);
}

void PresetSignals::onboardingCompleted(const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Activation.onboardingCompleted", {}, parameters, std::nullopt, user);
}

void PresetSignals::coreFeatureUsed(const QString& featureName, const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Activation.coreFeatureUsed", {{"Telemetry.Activation.featureName", featureName}}, parameters,
         std::nullopt, user);
}

void PresetSignals::referralSent(int receiversCount, const std::optional<QString>& kind,
                                 const SignalParameters& parameters, const User& user)
{
    SignalParameters own{{"Telemetry.Referral.receiversCount", QString::number(receiversCount)}};
    if (kind)
        own["Telemetry.Referral.kind"] = *kind;
    send("Telemetry.Referral.sent", std::move(own), parameters, std::nullopt, user);
}

void PresetSignals::userRatingSubmitted(int rating, const std::optional<QString>& comment,
                                        const SignalParameters& parameters, const User& user)
{
    if (rating < 0 || rating > 10) {
        if (TelemetryManager* manager = TelemetryManager::shared())
            logWith(manager->configuration().logHandler, LogHandler::LogLevel::error,
                    [] { return QStringLiteral("Rating must be between 0 and 10"); });
        return;
    }
    SignalParameters own{{"Telemetry.Referral.ratingValue", QString::number(rating)}};
    if (comment)
        own["Telemetry.Referral.ratingComment"] = *comment;
    send("Telemetry.Referral.userRatingSubmitted", std::move(own), parameters, std::nullopt, user);
}

void PresetSignals::paywallShown(const QString& reason, const SignalParameters& parameters, const User& user)
{
    send("Telemetry.Revenue.paywallShown", {{"Telemetry.Revenue.paywallShowReason", reason}}, parameters, std::nullopt,
         user);
}

void PresetSignals::errorOccurred(const QString& id, std::optional<ErrorCategory> category,
                                  const std::optional<QString>& message, const SignalParameters& parameters,
                                  std::optional<double> floatValue, const User& user)
{
    SignalParameters own{{"Telemetry.Error.id", id}};
    if (category)
        own["Telemetry.Error.category"] = toRaw(*category);
    if (message)
        own["Telemetry.Error.message"] = *message;
    send("Telemetry.Error.occurred", std::move(own), parameters, floatValue, user);
}

void PresetSignals::errorOccurred(const IdentifiableError& error, ErrorCategory category,
                                  const SignalParameters& parameters, std::optional<double> floatValue,
                                  const User& user)
{
    errorOccurred(error.id(), category, error.localizedDescription(), parameters, floatValue, user);
}

void PresetSignals::errorOccurred(const IdentifiableError& error, ErrorCategory category,
                                  const std::optional<QString>& message, const SignalParameters& parameters,
                                  std::optional<double> floatValue, const User& user)
{
    errorOccurred(error.id(), category, message, parameters, floatValue, user);
}

void PresetSignals::navigationPathChanged(const QString& source, const QString& destination, const User& user)
{
    navigationPath() = destination;
    send("Telemetry.Navigation.pathChanged",
         {{"Telemetry.Navigation.schemaVersion", "1"},
          {"Telemetry.Navigation.identifier", source + " -> " + destination},
          {"Telemetry.Navigation.sourcePath", source},
          {"Telemetry.Navigation.destinationPath", destination}},
         {}, std::nullopt, user);
}

void PresetSignals::navigationPathChanged(const QString& destination, const User& user)
{
    navigationPathChanged(navigationPath().value_or(QString()), destination, user);
}

std::optional<QString> PresetSignals::previousNavigationPath()
{
    return navigationPath();
}

void PresetSignals::resetNavigationPath()
{
    navigationPath().reset();
}

} // namespace vesk::telemetry
