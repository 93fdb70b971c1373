#include "store/ModelColumn.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vesk {

QVariant encodeUuid(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QVariant encodeDate(const QDateTime& date)
{
    return date.toUTC().toString(Qt::ISODateWithMs);
}

QVariant encodeDate(const std::optional<QDateTime>& date)
{
    return date ? encodeDate(*date) : QVariant();
}

QVariant encodeText(const std::optional<QString>& text)
{
    return text ? QVariant(*text) : QVariant();
}

QVariant encodeList(const QStringList& list)
{
    return QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(list)).toJson(QJsonDocument::Compact));
}

} // namespace vesk
