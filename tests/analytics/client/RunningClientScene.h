#pragma once

#include "ClientTestScene.h"
#include "LocalHttpServer.h"
#include "analytics/client/SignalManager.h"
#include "analytics/client/Telemetry.h"
#include "analytics/client/TelemetryManager.h"
#include "analytics/client/TelemetryManagerConfiguration.h"

namespace vesk::telemetry::testing {

// A running analytics client (started with start()) over the client's test
// surroundings, posting to a local server; error lines are recorded.
class RunningClientScene : public ClientTestScene {
protected:
    void SetUp() override
    {
        ClientTestScene::SetUp();
        configuration = std::make_shared<TelemetryManagerConfiguration>(appID, QString("pepper"), server.url("/"));
        configuration->logHandler = recordingHandler(LogHandler::LogLevel::error);
    }

    void TearDown() override
    {
        Telemetry::terminate();
        ClientTestScene::TearDown();
    }

    ClientHost host()
    {
        return {scheduler,
                scheduler,
                std::shared_ptr<const SystemFactsProviding>(&facts, [](auto*) {}),
                desktop->interfaces().applicationActivity,
                desktop->interfaces().storeTransactions,
                folder.path(),
                cacheFilePath()};
    }

    TelemetryManager& start()
    {
        Telemetry::initialize(configuration, host());
        return *TelemetryManager::shared();
    }

    // A client whose own session signals and statistics stay out of the
    // cache, so that only the signals a test sends are there.
    TelemetryManager& startWithoutSessionSignals()
    {
        configuration->sendNewSessionBeganSignal = false;
        configuration->sessionStatsEnabled = false;
        return start();
    }

    // The bodies waiting in the running manager's cache, after the main queue ran.
    std::vector<SignalPostBody> cached()
    {
        scheduler.advance(0);
        return TelemetryManager::shared()->signalManager().signalCache().cachedSignals();
    }

    QStringList cachedTypes()
    {
        QStringList types;
        for (const SignalPostBody& body : cached())
            types << body.type;
        return types;
    }

    std::shared_ptr<TelemetryManagerConfiguration> configuration;
    vesk::test::LocalHttpServer server;
};

} // namespace vesk::telemetry::testing
