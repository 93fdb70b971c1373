#include "analytics/client/TelemetryManagerConfiguration.h"

#include <QtGlobal>

namespace vesk::telemetry {

TelemetryManagerConfiguration::TelemetryManagerConfiguration(QString appID, std::optional<QString> salt,
                                                             std::optional<QUrl> baseURL,
                                                             std::optional<QString> namespaceName)
    : telemetryAppID_(std::move(appID))
    , apiBaseURL_(baseURL.value_or(QUrl(defaultApiBaseURL)))
    , namespace_(std::move(namespaceName))
    , salt_(salt.value_or(QString()))
{
}

void TelemetryManagerConfiguration::setSessionID(const QUuid& sessionID)
{
    sessionID_ = sessionID;
    if (sessionStatsEnabled && sessionStartActions_.startSessionStatistics)
        sessionStartActions_.startSessionStatistics();
    if (sendNewSessionBeganSignal && sessionStartActions_.sendSessionStartedSignal)
        sessionStartActions_.sendSessionStartedSignal();
}

bool TelemetryManagerConfiguration::swiftUIPreviewMode() const
{
    if (swiftUIPreviewMode_)
        return *swiftUIPreviewMode_;
    return qEnvironmentVariable("XCODE_RUNNING_FOR_PREVIEWS") == QLatin1String("1");
}

} // namespace vesk::telemetry
