#include "store/ColumnReader.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace vesk {

ColumnReader::ColumnReader(const char* table, const std::vector<ModelColumn>& columns, const QVariantList& values)
    : table_(table)
    , columns_(columns)
    , values_(values)
{
}

const QVariant& ColumnReader::at(int column)
{
    static const QVariant missing;
    return column < values_.size() ? values_[column] : missing;
}

bool ColumnReader::isNull(int column)
{
    return !at(column).isValid() || at(column).isNull();
}

void ColumnReader::fail(int column, const QString& stored)
{
    if (error_)
        return;
    error_ = StoreError{QStringLiteral("The data couldn't be read because it isn't in the correct format — "
                                       "table=%1, column=%2, value=%3")
                            .arg(QString::fromUtf8(table_), QString::fromUtf8(columns_[column].name), stored)};
}

QUuid ColumnReader::uuid(int column)
{
    if (isNull(column)) {
        fail(column, QStringLiteral("NULL"));
        return {};
    }
    const QString stored = at(column).toString();
    const QUuid id = QUuid::fromString(stored);
    if (id.isNull() && stored != QUuid().toString(QUuid::WithoutBraces))
        fail(column, stored);
    return id;
}

QDateTime ColumnReader::date(int column)
{
    if (isNull(column)) {
        fail(column, QStringLiteral("NULL"));
        return {};
    }
    const QDateTime date = QDateTime::fromString(at(column).toString(), Qt::ISODateWithMs);
    if (!date.isValid())
        fail(column, at(column).toString());
    return date.toUTC();
}

std::optional<QDateTime> ColumnReader::optionalDate(int column)
{
    if (isNull(column))
        return std::nullopt;
    return date(column);
}

qint64 ColumnReader::integer(int column)
{
    bool converted = false;
    const qint64 value = at(column).toLongLong(&converted);
    if (!converted)
        fail(column, at(column).toString());
    return value;
}

bool ColumnReader::boolean(int column)
{
    return integer(column) != 0;
}

QString ColumnReader::text(int column)
{
    if (isNull(column))
        fail(column, QStringLiteral("NULL"));
    return at(column).toString();
}

std::optional<QString> ColumnReader::optionalText(int column)
{
    if (isNull(column))
        return std::nullopt;
    return at(column).toString();
}

QStringList ColumnReader::list(int column)
{
    const QString stored = at(column).toString();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(stored.toUtf8(), &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isArray()) {
        fail(column, stored);
        return {};
    }
    QStringList list;
    for (const QJsonValue& element : document.array()) {
        if (!element.isString()) {
            fail(column, stored);
            return {};
        }
        list.append(element.toString());
    }
    return list;
}

} // namespace vesk
