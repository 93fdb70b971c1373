#pragma once

#include "analytics/client/SignalParameters.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>
#include <vector>

namespace vesk::telemetry {

// The record that leaves the client for every signal. Each JSON key is the
// field's name; `floatValue` is left out when absent.
struct SignalPostBody {
    // How `receivedAt` is written: the fixed text on the wire, a number of
    // seconds since 2001-01-01 in the cache file.
    enum class DateForm { wire, secondsSinceReferenceDate };

    QDateTime receivedAt;
    QString appID;
    // The hashed user identifier.
    QString clientUser;
    // Upper-case UUID text.
    QString sessionID;
    // The signal's name, prefix included.
    QString type;
    std::optional<double> floatValue;
    SignalParameters payload;
    // "true" or "false".
    QString isTestMode;

    bool operator==(const SignalPostBody&) const = default;

    QJsonObject toJson(DateForm form) const;
    // None when a key is missing or holds the wrong type.
    static std::optional<SignalPostBody> fromJson(const QJsonObject& object, DateForm form);

    // The JSON array of the bodies; none, with the reason in `error`, when a
    // body holds a value JSON cannot carry (a float value that is not finite).
    static std::optional<QByteArray> encodeArray(const std::vector<SignalPostBody>& bodies, DateForm form,
                                                 QString* error = nullptr);
    // None unless the data is a JSON array of bodies that all decode.
    static std::optional<std::vector<SignalPostBody>> decodeArray(const QByteArray& data, DateForm form);
};

} // namespace vesk::telemetry
