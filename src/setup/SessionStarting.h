#pragma once

#include <QString>
#include <QUrl>

#include <map>
#include <optional>
#include <set>

namespace vesk {

// What the setup screen needs of the session engine: whether a session runs,
// and starting one. The application's composition hands the session manager
// in through it; tests use a recording fake.
class SessionStarting {
public:
    virtual ~SessionStarting() = default;
    virtual bool isSessionActive() const = 0;
    // Starts a session; refused (with a log line) while one is active or starting.
    // `applicationURLs` may lack identifiers of `bundleIDs`; `goal` is trimmed and at
    // most 80 characters; `setupSeconds` is never negative.
    virtual void startSession(qint64 durationSeconds, const std::set<QString>& bundleIDs,
                              const std::map<QString, QUrl>& applicationURLs, const std::optional<QString>& goal,
                              bool hardcore, qint64 setupSeconds) = 0;
};

} // namespace vesk
