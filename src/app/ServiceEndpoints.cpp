#include "app/ServiceEndpoints.h"

#include "analytics/TelemetryAnalyticsService.h"
#include "analytics/client/TelemetryManagerConfiguration.h"
#include "feedback/BugReportEndpoint.h"
#include "update/FeedUpdater.h"

#include <QJsonValue>

namespace vesk {

namespace {

std::optional<QUrl> namedBy(const char* variable)
{
    const QString text = qEnvironmentVariable(variable);
    return text.isEmpty() ? std::nullopt : std::optional<QUrl>(QUrl(text));
}

QJsonValue urlValue(const std::optional<QUrl>& url)
{
    return url ? QJsonValue(url->toString()) : QJsonValue();
}

} // namespace

ServiceEndpoints ServiceEndpoints::configured()
{
    const QString reports = bugReportEndpointText();
    return {TelemetryAnalyticsService::configuredBaseURL().value_or(
                QUrl(telemetry::TelemetryManagerConfiguration::defaultApiBaseURL)),
            reports.isEmpty() ? std::nullopt : std::optional<QUrl>(QUrl(reports)), FeedUpdater::configuredFeedURL()};
}

ServiceEndpoints ServiceEndpoints::namedByEnvironment()
{
    return {namedBy(TelemetryAnalyticsService::baseURLVariable), namedBy(bugReportEndpointVariable),
            namedBy(FeedUpdater::feedURLVariable)};
}

QJsonObject ServiceEndpoints::toJson() const
{
    return {{"analytics", urlValue(analytics)}, {"reports", urlValue(reports)}, {"updates", urlValue(updateFeed)}};
}

} // namespace vesk
