#include "store/ModelContext.h"

#include "logging/VeskLogger.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace vesk {

namespace {

QString quoted(const char* name)
{
    return QLatin1Char('"') + QString::fromUtf8(name) + QLatin1Char('"');
}

QString columnList(const std::vector<ModelColumn>& columns)
{
    QStringList names;
    for (const ModelColumn& column : columns)
        names.append(quoted(column.name));
    return names.join(QStringLiteral(", "));
}

StoreError queryError(const QSqlQuery& query)
{
    return StoreError{query.lastError().text()};
}

} // namespace

ModelContext::ModelContext(QString connectionName) : connectionName_(std::move(connectionName))
{
}

std::optional<StoreError> ModelContext::injectedFault(StoreOperation operation) const
{
    return faultInjector_ ? faultInjector_(operation) : std::nullopt;
}

void ModelContext::warnUnreadableRow(const char* table, const std::vector<ModelColumn>& columns, const StoredRow& row,
                                     const StoreError& error)
{
    if (!reportedUnreadableRows_.emplace(QString::fromUtf8(table), row.rowId).second)
        return;
    QString id = QStringLiteral("none");
    for (size_t column = 0; column < columns.size(); ++column) {
        if (qstrcmp(columns[column].name, "id") == 0) {
            const QVariant& value = row.columns.value(static_cast<qsizetype>(column));
            id = value.isNull() ? QStringLiteral("NULL") : value.toString();
        }
    }
    VeskLogger(QStringLiteral("ModelContext"))
        .log(VeskLogLevel::warning, QStringLiteral("Skipped an unreadable %1 record — id=%2, pk=%3, reason=%4")
                                        .arg(QString::fromUtf8(table), id)
                                        .arg(row.rowId)
                                        .arg(error.description));
}

StoreResult<> ModelContext::failedSave(StoreError error)
{
    if (saveFailureHandler_)
        saveFailureHandler_(error);
    return error;
}

StoreResult<std::vector<ModelContext::StoredRow>>
ModelContext::selectRows(const char* table, const std::vector<ModelColumn>& columns) const
{
    QSqlQuery query(QSqlDatabase::database(connectionName_, false));
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT pk, %1 FROM %2 ORDER BY pk").arg(columnList(columns), quoted(table))))
        return queryError(query);
    std::vector<StoredRow> rows;
    while (query.next()) {
        StoredRow row{query.value(0).toLongLong(), {}};
        for (int column = 0; column < static_cast<int>(columns.size()); ++column)
            row.columns.append(query.value(column + 1));
        rows.push_back(std::move(row));
    }
    if (query.lastError().isValid())
        return queryError(query);
    return rows;
}

StoreResult<std::vector<qint64>> ModelContext::writeAll(const std::vector<RowWrite>& writes)
{
    QSqlDatabase database = QSqlDatabase::database(connectionName_, false);
    if (!database.transaction())
        return StoreError{database.lastError().text()};

    std::vector<qint64> rowIds;
    for (const RowWrite& write : writes) {
        QSqlQuery query(database);
        QStringList placeholders;
        QStringList assignments;
        for (const ModelColumn& column : *write.columns) {
            placeholders.append(QStringLiteral("?"));
            assignments.append(quoted(column.name) + QStringLiteral(" = ?"));
        }
        const QString sql = write.rowId == 0 ? QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                                   .arg(quoted(write.table), columnList(*write.columns),
                                                        placeholders.join(QStringLiteral(", ")))
                                             : QStringLiteral("UPDATE %1 SET %2 WHERE pk = ?")
                                                   .arg(quoted(write.table), assignments.join(QStringLiteral(", ")));
        query.prepare(sql);
        for (const QVariant& value : write.values)
            query.addBindValue(value);
        if (write.rowId != 0)
            query.addBindValue(write.rowId);
        if (!query.exec()) {
            const StoreError error = queryError(query);
            database.rollback();
            return error;
        }
        rowIds.push_back(write.rowId == 0 ? query.lastInsertId().toLongLong() : write.rowId);
    }
    if (!database.commit()) {
        const StoreError error{database.lastError().text()};
        database.rollback();
        return error;
    }
    return rowIds;
}

StoreResult<> ModelContext::save()
{
    if (auto fault = injectedFault(StoreOperation::save))
        return failedSave(*fault);

    std::vector<RowWrite> writes;
    std::apply(
        [&](auto&... registries) {
            auto collect = [&](auto& entries) {
                for (auto& entry : entries) {
                    if (isPending(entry)) {
                        using Record = typename std::decay_t<decltype(*entry.record)>;
                        writes.push_back(
                            RowWrite{Record::tableName(), &Record::columns(), entry.rowId, entry.record->toColumns()});
                    }
                }
            };
            (collect(registries), ...);
        },
        registries_);
    if (writes.empty())
        return {};

    auto rowIds = writeAll(writes);
    if (!rowIds)
        return failedSave(rowIds.error());

    // Mark what was written as saved, in the order it was collected.
    size_t next = 0;
    std::apply(
        [&](auto&... registries) {
            auto commit = [&](auto& entries) {
                for (auto& entry : entries) {
                    if (isPending(entry)) {
                        entry.rowId = rowIds.value()[next];
                        entry.savedColumns = writes[next].values;
                        ++next;
                    }
                }
            };
            (commit(registries), ...);
        },
        registries_);
    emit saved();
    return {};
}

bool ModelContext::hasChanges() const
{
    bool pending = false;
    std::apply(
        [&](const auto&... registries) {
            auto scan = [&](const auto& entries) {
                for (const auto& entry : entries)
                    pending = pending || isPending(entry);
            };
            (scan(registries), ...);
        },
        registries_);
    return pending;
}

} // namespace vesk
