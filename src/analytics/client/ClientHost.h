#pragma once

#include <QString>

#include <memory>

namespace vesk {
class Clock;
class Scheduler;
} // namespace vesk

namespace vesk::platform {
class ApplicationActivity;
class StoreTransactionUpdates;
} // namespace vesk::platform

namespace vesk::telemetry {

class SystemFactsProviding;

// What a running analytics client is built over: the main queue and the
// clock, the system's facts, Vesk's activity, the store's transactions, and where its defaults suite
// and cache file go. The host outlives every manager built over it.
struct ClientHost {
    Scheduler& scheduler;
    Clock& clock;
    std::shared_ptr<const SystemFactsProviding> systemFacts;
    platform::ApplicationActivity& applicationActivity;
    // The store's transaction updates, watched for a free trial's conversion.
    platform::StoreTransactionUpdates& storeTransactions;
    // Folder of the client's defaults suite file.
    QString suiteRootDirectory;
    // The signal cache's file; empty: the default file in the cache folder.
    QString cacheFilePath = QString();
    // False: the client makes no request; its signals stay in the cache and
    // go to the cache file at termination.
    bool sendsSignals = true;
};

} // namespace vesk::telemetry
