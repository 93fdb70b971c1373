#pragma once

#include <QDateTime>
#include <QStringList>
#include <QUuid>
#include <QVariant>

#include <optional>

namespace vesk {

// One stored attribute of a model: its column name and SQLite type. Values are
// kept readable: identifiers as upper-case UUID text, date-times as ISO 8601
// UTC text with milliseconds, lists as JSON arrays of texts (order and
// duplicates kept), booleans as 0/1, absent values as NULL.
struct ModelColumn {
    const char* name;
    const char* sqlType;
};

QVariant encodeUuid(const QUuid& id);
QVariant encodeDate(const QDateTime& date);
QVariant encodeDate(const std::optional<QDateTime>& date);
QVariant encodeText(const std::optional<QString>& text);
QVariant encodeList(const QStringList& list);

} // namespace vesk
