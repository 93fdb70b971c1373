#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <variant>

namespace vesk {

// The JSON form the stored backups use for a choice between named cases:
// an object with exactly one member, named by the case, whose value is an
// object holding the case's payload (`{"missing":{}}`,
// `{"bool":{"_0":true}}`). The payload of a case with one value is its member
// "_0".
struct TaggedCase {
    QString name;
    QJsonObject payload;

    QJsonObject toJson() const { return QJsonObject{{name, payload}}; }
    // `{"<name>":{"_0":value}}`.
    static QJsonObject withValue(const QString& name, const QJsonValue& value)
    {
        return QJsonObject{{name, QJsonObject{{QStringLiteral("_0"), value}}}};
    }

    // The one case of `value`; the reason, naming `codingPath`, when it is no
    // object of exactly one member holding an object.
    static std::variant<TaggedCase, QString> decode(const QJsonValue& value, const QString& codingPath);
    // The payload's "_0" member; the reason when it is missing.
    std::variant<QJsonValue, QString> value(const QString& codingPath) const;

    // The JSON object a stored backup holds; the reason when it is not one
    // (`notAnObject` when it is JSON of another kind).
    static std::variant<QJsonObject, QString> parseObject(const QByteArray& json, const QString& notAnObject);

    // Why a stored backup does not decode: the reason and where, as log lines show it.
    static QString failure(const QString& reason, const QString& codingPath);
    // `codingPath` one member further down.
    static QString path(const QString& codingPath, const QString& member);
};

} // namespace vesk
