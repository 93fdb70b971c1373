#pragma once

#include <QString>

namespace vesk {
class Clock;
class Scheduler;
class UserDefaults;
} // namespace vesk

namespace vesk::platform {
class ApplicationActivity;
} // namespace vesk::platform

namespace vesk::telemetry {

class SystemFactsProviding;

// What the analytics client takes from the system. Every delay runs on the
// scheduler (the main queue), every date comes from the clock.
struct ClientEnvironment {
    Scheduler& scheduler;
    Clock& clock;
    const SystemFactsProviding& systemFacts;
    platform::ApplicationActivity& applicationActivity;
    // The client's own defaults suite (named by clientSuiteName); none while
    // no client runs, and then nothing is read or kept there.
    UserDefaults* clientSuite = nullptr;
    // The signal cache's file; empty: the default file in the cache folder.
    QString cacheFilePath = QString();
    // False: no request is made; signals stay in the cache (and its file).
    bool sendsSignals = true;
};

} // namespace vesk::telemetry
