#include "enforcement/LegacyWallpaperBackup.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>
#include <limits>
#include <optional>

namespace vesk {

namespace {

std::optional<quint32> displayNumber(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double number = value.toDouble();
    if (number < 0 || number > std::numeric_limits<quint32>::max() || std::trunc(number) != number)
        return std::nullopt;
    return static_cast<quint32>(number);
}

} // namespace

std::vector<LegacyWallpaperBackup::Entry> LegacyWallpaperBackup::decode(const QByteArray& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return {};
    std::vector<Entry> entries;
    for (const QJsonValue& element : document.array()) {
        const QJsonObject object = element.toObject();
        const std::optional<quint32> displayID = displayNumber(object.value(QStringLiteral("displayID")));
        const QJsonValue path = object.value(QStringLiteral("originalWallpaperPath"));
        if (!element.isObject() || !displayID || !path.isString())
            return {};
        entries.push_back(Entry{*displayID, path.toString()});
    }
    return entries;
}

} // namespace vesk
