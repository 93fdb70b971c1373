#include "app/SessionManagerSessionStarting.h"

#include "session/SessionManager.h"

#include <limits>

namespace vesk {

namespace {

// Durations and setup times beyond the manager's integer range are held at its maximum.
int clampedSeconds(qint64 seconds)
{
    return static_cast<int>(std::min<qint64>(seconds, std::numeric_limits<int>::max()));
}

} // namespace

bool SessionManagerSessionStarting::isSessionActive() const
{
    return manager_.isSessionActive();
}

void SessionManagerSessionStarting::startSession(qint64 durationSeconds, const std::set<QString>& bundleIDs,
                                                 const std::map<QString, QUrl>& applicationURLs,
                                                 const std::optional<QString>& goal, bool hardcore, qint64 setupSeconds)
{
    manager_.startSession(clampedSeconds(durationSeconds), bundleIDs, applicationURLs, goal, hardcore,
                          clampedSeconds(setupSeconds));
}

} // namespace vesk
