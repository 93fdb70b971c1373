#include "analytics/TelemetryAnalyticsService.h"

#include "analytics/client/Telemetry.h"
#include "analytics/client/TelemetryManagerConfiguration.h"
#include "settings/VeskDefaultsStore.h"

#include <QStringList>
#include <QtGlobal>

#include <memory>

namespace vesk {

QString TelemetryAnalyticsService::configuredAppID()
{
    const QString fromEnvironment = qEnvironmentVariable(appIDVariable);
    return fromEnvironment.isEmpty() ? QString::fromLatin1(analyticsAppID) : fromEnvironment;
}

std::optional<QUrl> TelemetryAnalyticsService::configuredBaseURL()
{
    const QString fromEnvironment = qEnvironmentVariable(baseURLVariable);
    if (fromEnvironment.isEmpty())
        return std::nullopt;
    return QUrl(fromEnvironment);
}

TelemetryAnalyticsService::InitializeSDK
TelemetryAnalyticsService::clientInitializer(telemetry::ClientHost host, std::optional<QUrl> baseURL, bool testMode)
{
    host.sendsSignals = baseURL.has_value();
    return [host, baseURL, testMode](const QString& appID) {
        auto configuration = std::make_shared<telemetry::TelemetryManagerConfiguration>(appID, std::nullopt, baseURL);
        if (testMode)
            configuration->setTestMode(true);
        telemetry::Telemetry::initialize(std::move(configuration), host);
    };
}

TelemetryAnalyticsService::SendSignal TelemetryAnalyticsService::clientSignalSender()
{
    return [](const QString& name, const std::map<QString, QString>& parameters) {
        telemetry::Telemetry::signal(name, parameters);
    };
}

TelemetryAnalyticsService::TelemetryAnalyticsService(VeskDefaultsStore& defaults, QString appID,
                                                     InitializeSDK initializeSDK, SendSignal sendSignal)
    : defaults_(defaults)
    , appID_(std::move(appID))
    , initializeSDK_(std::move(initializeSDK))
    , sendSignal_(std::move(sendSignal))
{
}

TelemetryAnalyticsService::~TelemetryAnalyticsService()
{
    if (isInitialized_)
        telemetry::Telemetry::terminate();
}

void TelemetryAnalyticsService::track(const AnalyticsEvent& event)
{
    const QString name = event.signalName();
    if (!defaults_.analyticsEnabled()) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Signal dropped — analytics disabled, signal=") + name);
        return;
    }
    if (!isInitialized_) {
        initializeSDK_(appID_);
        isInitialized_ = true;
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Telemetry initialized — appID=") + appID_.left(8) + QStringLiteral("…"));
    }
    const std::map<QString, QString> parameters = event.parameters();
    sendSignal_(name, parameters);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Signal sent — name=%1, params=%2").arg(name, dictionaryText(parameters)));
}

QString TelemetryAnalyticsService::dictionaryText(const std::map<QString, QString>& parameters)
{
    if (parameters.empty())
        return QStringLiteral("[:]");
    QStringList entries;
    for (const auto& [key, value] : parameters)
        entries << QStringLiteral("\"%1\": \"%2\"").arg(key, value);
    return QLatin1Char('[') + entries.join(QStringLiteral(", ")) + QLatin1Char(']');
}

} // namespace vesk
