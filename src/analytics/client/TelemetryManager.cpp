#include "analytics/client/TelemetryManager.h"

#include "analytics/client/ClientEnvironment.h"
#include "analytics/client/ClientIdentity.h"
#include "analytics/client/DurationSignalTracker.h"
#include "analytics/client/ReservedNames.h"
#include "analytics/client/SessionStatistics.h"
#include "analytics/client/SignalManager.h"
#include "analytics/client/TelemetryManagerConfiguration.h"
#include "analytics/client/TrialConversionTracker.h"
#include "core/Clock.h"
#include "core/Scheduler.h"
#include "core/UserDefaults.h"

#include <QUuid>

namespace vesk::telemetry {

namespace {

using Level = LogHandler::LogLevel;

std::unique_ptr<TelemetryManager>& runningManager()
{
    static std::unique_ptr<TelemetryManager> manager;
    return manager;
}

// Keys the service reads as its own ("Telemetry.…") keep their name; every
// other key gets the prefix. On a collision the later key wins.
SignalParameters withPrefixedKeys(const SignalParameters& parameters, const QString& prefix)
{
    SignalParameters prefixed;
    for (const auto& [key, value] : parameters)
        prefixed[key.startsWith(QLatin1String("Telemetry.")) ? key : prefix + key] = value;
    return prefixed;
}

} // namespace

TelemetryManager::TelemetryManager(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host)
    : configuration_(std::move(configuration))
    , host_(host)
    , clientSuite_(
          std::make_unique<UserDefaults>(clientSuiteName(configuration_->telemetryAppID()), host.suiteRootDirectory))
    , alive_(std::make_shared<TelemetryManager*>(this))
{
    const ClientEnvironment environment{host_.scheduler,           host_.clock,        *host_.systemFacts,
                                        host_.applicationActivity, clientSuite_.get(), host_.cacheFilePath,
                                        host_.sendsSignals};
    sessionStatistics_ = std::make_unique<SessionStatistics>(environment, [this](const QString& name,
                                                                                 const SignalParameters& parameters) {
        sendInternalSignal(name, parameters);
    });
    signalManager_ = std::make_unique<SignalManager>(configuration_, environment, *sessionStatistics_);
    durationTracker_ = std::make_unique<DurationSignalTracker>(host_.clock, host_.applicationActivity);
    trialConversionTracker_ =
        std::make_unique<TrialConversionTracker>(*clientSuite_, host_.clock, host_.storeTransactions,
                                                 [this](const QString& name, const SignalParameters& parameters,
                                                        std::optional<double> floatValue) {
                                                     sendInternalSignal(name, parameters, floatValue);
                                                 });
    configuration_->setSessionStartActions({
        [this] { sessionStatistics_->startNewSession(); },
        [this] { sendInternalSignal(QStringLiteral("Telemetry.Session.started"), {}); },
    });
    sessionStart_ = host_.scheduler.asyncAfter(kSessionStartDelaySeconds, [this] { generateNewSession(); });
}

TelemetryManager::~TelemetryManager()
{
    sessionStart_.cancel();
    immediateSync_.cancel();
    configuration_->setSessionStartActions({});
    // Whatever is still cached waits in the cache file for the next manager.
    signalManager_->appWillTerminate();
}

void TelemetryManager::initialize(std::shared_ptr<TelemetryManagerConfiguration> configuration, const ClientHost& host)
{
    // The earlier manager goes first: it saves its cache, which the new one
    // loads and sends.
    runningManager().reset();
    runningManager() = std::make_unique<TelemetryManager>(std::move(configuration), host);
}

void TelemetryManager::terminate()
{
    runningManager().reset();
}

TelemetryManager* TelemetryManager::shared()
{
    return runningManager().get();
}

bool TelemetryManager::acceptsSignals() const
{
    return !configuration_->swiftUIPreviewMode() && !configuration_->analyticsDisabled;
}

void TelemetryManager::signal(const QString& signalName, const SignalParameters& parameters,
                              std::optional<double> floatValue, const std::optional<QString>& customUserID)
{
    if (!acceptsSignals())
        return;
    const QString name = configuration_->defaultSignalPrefix.value_or(QString()) + signalName;
    const SignalParameters prefixed =
        withPrefixedKeys(parameters, configuration_->defaultParameterPrefix.value_or(QString()));
    if (configuration_->reservedParameterWarningsEnabled) {
        const QString warning = ReservedNames::signalNameWarning(name);
        if (!warning.isEmpty())
            logWith(configuration_->logHandler, Level::error, [&] { return warning; });
        warnAboutReservedKeys(prefixed);
    }
    sendInternalSignal(name, prefixed, floatValue, customUserID);
}

void TelemetryManager::warnAboutReservedKeys(const SignalParameters& parameters) const
{
    for (const auto& [key, value] : parameters) {
        const QString warning = ReservedNames::parameterKeyWarning(key);
        if (!warning.isEmpty())
            logWith(configuration_->logHandler, Level::error, [&] { return warning; });
    }
}

// Warns only about the configuration's default parameters here: the client's
// own signals carry "Telemetry." keys on purpose, and a caller's keys were
// checked on the public path.
void TelemetryManager::sendInternalSignal(const QString& signalName, const SignalParameters& parameters,
                                          std::optional<double> floatValue, const std::optional<QString>& customUserID)
{
    if (!acceptsSignals())
        return;
    SignalParameters merged = withPrefixedKeys(configuration_->defaultParameters(),
                                               configuration_->defaultParameterPrefix.value_or(QString()));
    if (configuration_->reservedParameterWarningsEnabled)
        warnAboutReservedKeys(merged);
    mergeParameters(merged, parameters);
    host_.scheduler.async(
        [alive = std::weak_ptr<TelemetryManager*>(alive_), signalName, merged, floatValue, customUserID] {
            if (const auto manager = alive.lock())
                (*manager)->signalManager_->processSignal(signalName, merged, floatValue, customUserID,
                                                          *(*manager)->configuration_);
        });
}

void TelemetryManager::updateDefaultUser(const std::optional<QString>& user)
{
    configuration_->defaultUser = user;
}

void TelemetryManager::generateNewSession()
{
    configuration_->setSessionID(QUuid::createUuid());
}

void TelemetryManager::requestImmediateSync()
{
    const QDateTime now = host_.clock.now();
    if (lastTimeImmediateSyncRequested_
        && lastTimeImmediateSyncRequested_->msecsTo(now) <= configuration_->transmitInterval * 1000)
        return;
    lastTimeImmediateSyncRequested_ = now;
    immediateSync_ = host_.scheduler.asyncAfter(kImmediateSyncDelaySeconds,
                                                [this] { signalManager_->attemptToSendNextBatchOfCachedSignals(); });
}

QString TelemetryManager::hashedDefaultUser()
{
    return userHash(signalManager_->defaultUserIdentifier(), configuration_->salt());
}

void TelemetryManager::didEnterBackground()
{
    lastDateAppEnteredBackground_ = host_.clock.now();
}

// Never having left counts as having left long ago.
void TelemetryManager::willEnterForeground()
{
    const QDateTime now = host_.clock.now();
    if (!lastDateAppEnteredBackground_
        || lastDateAppEnteredBackground_->msecsTo(now) > kBackgroundSessionTimeoutSeconds * 1000)
        generateNewSession();
}

} // namespace vesk::telemetry
