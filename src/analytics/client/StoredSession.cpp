#include "analytics/client/StoredSession.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace vesk::telemetry {

QByteArray StoredSession::encodeList(const std::vector<StoredSession>& sessions)
{
    QJsonArray array;
    for (const StoredSession& session : sessions) {
        // Integer division cuts toward zero, also before 1970.
        const qint64 seconds = session.startedAt.toMSecsSinceEpoch() / 1000;
        array.append(QJsonObject{{"st", seconds}, {"dn", session.durationInSeconds}});
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<std::vector<StoredSession>> StoredSession::decodeList(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<StoredSession> sessions;
    for (const QJsonValue& element : document.array()) {
        const QJsonValue started = element.toObject().value("st");
        const QJsonValue duration = element.toObject().value("dn");
        if (!started.isDouble() || !duration.isDouble() || std::trunc(duration.toDouble()) != duration.toDouble())
            return std::nullopt;
        sessions.push_back({QDateTime::fromMSecsSinceEpoch(std::llround(started.toDouble() * 1000.0), Qt::UTC),
                            static_cast<qint64>(duration.toDouble())});
    }
    return sessions;
}

} // namespace vesk::telemetry
