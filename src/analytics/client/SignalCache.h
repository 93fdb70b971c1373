#pragma once

#include "analytics/client/LogHandler.h"
#include "analytics/client/SignalPostBody.h"

#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace vesk::telemetry {

// The signal bodies waiting to be sent, oldest first, at most `cacheLimit`
// of them. The file is read (and removed) when the cache is built, and
// written only by `saveToDisk`, which the signal manager calls when the
// application is about to terminate. Main thread only.
class SignalCache {
public:
    static constexpr int maximumNumberOfSignalsToPopAtOnce = 100;

    // "telemetrysignalcache" in the application's cache folder; empty when
    // the system has no cache folder.
    static QString defaultCacheFilePath();

    // Loads the file at `cacheFilePath` (empty: the default file).
    SignalCache(std::optional<LogHandler> logHandler, int cacheLimit, QString cacheFilePath = QString());

    // Both drop the oldest bodies beyond the limit.
    void append(SignalPostBody body);
    void appendAll(std::vector<SignalPostBody> bodies);
    // Removes and returns the oldest bodies, at most 100.
    std::vector<SignalPostBody> takeBatch();
    int storedCount() const { return static_cast<int>(cachedSignals_.size()); }
    // The bodies in order, oldest first.
    std::vector<SignalPostBody> cachedSignals() const { return {cachedSignals_.begin(), cachedSignals_.end()}; }

    // Writes every body to the file and empties the cache; after a failure
    // the cache keeps its bodies. A later save (a manager that goes after the
    // termination) writes what the earlier ones wrote too, newest last and
    // within the limit, so that nothing saved once is overwritten.
    void saveToDisk();

private:
    QString cacheFilePath() const;
    void loadFromDisk();
    void trim();

    std::optional<LogHandler> logHandler_;
    std::deque<SignalPostBody> cachedSignals_;
    // What the earlier saves of this cache wrote to the file.
    std::vector<SignalPostBody> savedSignals_;
    int cacheLimit_;
    QString cacheFilePathOverride_;
};

} // namespace vesk::telemetry
