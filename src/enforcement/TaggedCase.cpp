#include "enforcement/TaggedCase.h"

#include <QJsonDocument>

namespace vesk {

QString TaggedCase::failure(const QString& reason, const QString& codingPath)
{
    return codingPath.isEmpty() ? reason : reason + QStringLiteral(" — codingPath=") + codingPath;
}

QString TaggedCase::path(const QString& codingPath, const QString& member)
{
    return codingPath.isEmpty() ? member : codingPath + QLatin1Char('.') + member;
}

std::variant<QJsonObject, QString> TaggedCase::parseObject(const QByteArray& json, const QString& notAnObject)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("The data is not valid JSON: %1 at offset %2.")
            .arg(error.errorString())
            .arg(error.offset);
    if (!document.isObject())
        return notAnObject;
    return document.object();
}

std::variant<TaggedCase, QString> TaggedCase::decode(const QJsonValue& value, const QString& codingPath)
{
    if (!value.isObject())
        return failure(QStringLiteral("Expected an object with one member."), codingPath);
    const QJsonObject object = value.toObject();
    if (object.size() != 1)
        return failure(QStringLiteral("Invalid number of keys found, expected one."), codingPath);
    const QString name = object.begin().key();
    const QJsonValue payload = object.begin().value();
    if (!payload.isObject()) {
        return failure(QStringLiteral("Expected an object for case \"%1\".").arg(name), path(codingPath, name));
    }
    return TaggedCase{name, payload.toObject()};
}

std::variant<QJsonValue, QString> TaggedCase::value(const QString& codingPath) const
{
    const auto it = payload.find(QStringLiteral("_0"));
    if (it == payload.end())
        return failure(QStringLiteral("No value associated with key \"_0\"."), path(codingPath, name));
    return it.value();
}

} // namespace vesk
