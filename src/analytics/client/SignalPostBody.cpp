#include "analytics/client/SignalPostBody.h"

#include "analytics/client/SignalDateCoding.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>

namespace vesk::telemetry {

namespace {

QJsonValue dateValue(const QDateTime& date, SignalPostBody::DateForm form)
{
    if (form == SignalPostBody::DateForm::wire)
        return wireDateText(date);
    return secondsSinceReferenceDate(date);
}

std::optional<QDateTime> dateFromValue(const QJsonValue& value, SignalPostBody::DateForm form)
{
    if (form == SignalPostBody::DateForm::wire)
        return value.isString() ? dateFromWireText(value.toString()) : std::nullopt;
    if (!value.isDouble())
        return std::nullopt;
    return dateFromSecondsSinceReferenceDate(value.toDouble());
}

std::optional<SignalParameters> parametersFromValue(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    SignalParameters parameters;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        if (!it.value().isString())
            return std::nullopt;
        parameters[it.key()] = it.value().toString();
    }
    return parameters;
}

bool readText(const QJsonObject& object, const char* key, QString* out)
{
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString())
        return false;
    *out = value.toString();
    return true;
}

} // namespace

QJsonObject SignalPostBody::toJson(DateForm form) const
{
    QJsonObject payloadObject;
    for (const auto& [key, value] : payload)
        payloadObject.insert(key, value);
    QJsonObject object{
        {"receivedAt", dateValue(receivedAt, form)},
        {"appID", appID},
        {"clientUser", clientUser},
        {"sessionID", sessionID},
        {"type", type},
        {"payload", payloadObject},
        {"isTestMode", isTestMode},
    };
    if (floatValue)
        object.insert("floatValue", *floatValue);
    return object;
}

std::optional<SignalPostBody> SignalPostBody::fromJson(const QJsonObject& object, DateForm form)
{
    SignalPostBody body;
    const std::optional<QDateTime> receivedAt = dateFromValue(object.value("receivedAt"), form);
    const std::optional<SignalParameters> payload = parametersFromValue(object.value("payload"));
    if (!receivedAt || !payload || !readText(object, "appID", &body.appID)
        || !readText(object, "clientUser", &body.clientUser) || !readText(object, "sessionID", &body.sessionID)
        || !readText(object, "type", &body.type) || !readText(object, "isTestMode", &body.isTestMode))
        return std::nullopt;
    body.receivedAt = *receivedAt;
    body.payload = *payload;
    const QJsonValue floatValue = object.value("floatValue");
    if (floatValue.isDouble())
        body.floatValue = floatValue.toDouble();
    else if (!floatValue.isUndefined() && !floatValue.isNull())
        return std::nullopt;
    return body;
}

std::optional<QByteArray> SignalPostBody::encodeArray(const std::vector<SignalPostBody>& bodies, DateForm form,
                                                      QString* error)
{
    QJsonArray array;
    for (const SignalPostBody& body : bodies) {
        if (body.floatValue && !std::isfinite(*body.floatValue)) {
            if (error)
                *error = QStringLiteral("floatValue %1 of signal \"%2\" cannot be written as JSON")
                             .arg(*body.floatValue)
                             .arg(body.type);
            return std::nullopt;
        }
        array.append(body.toJson(form));
    }
    return QJsonDocument(array).toJson(QJsonDocument::Compact);
}

std::optional<std::vector<SignalPostBody>> SignalPostBody::decodeArray(const QByteArray& data, DateForm form)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(data, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<SignalPostBody> bodies;
    for (const QJsonValue& element : document.array()) {
        std::optional<SignalPostBody> body = element.isObject() ? fromJson(element.toObject(), form) : std::nullopt;
        if (!body)
            return std::nullopt;
        bodies.push_back(std::move(*body));
    }
    return bodies;
}

} // namespace vesk::telemetry
