#pragma once

#include <QByteArray>
#include <QDateTime>

#include <optional>
#include <vector>

namespace vesk::telemetry {

// One session of the session statistics: when it began and how long the
// application was active in it.
struct StoredSession {
    QDateTime startedAt;
    qint64 durationInSeconds = 0;

    bool operator==(const StoredSession&) const = default;

    // A JSON array of {"st": whole seconds since 1970 (cut toward zero), "dn": seconds}.
    static QByteArray encodeList(const std::vector<StoredSession>& sessions);
    // None unless every element has a number "st" and a whole number "dn".
    static std::optional<std::vector<StoredSession>> decodeList(const QByteArray& data);
};

} // namespace vesk::telemetry
