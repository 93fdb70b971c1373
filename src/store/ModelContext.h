#pragma once

#include "store/AllowlistPreset.h"
#include "store/CurrentAllowlist.h"
#include "store/FocusSession.h"
#include "store/ModelColumn.h"
#include "store/StoreResult.h"

#include <QObject>
#include <QString>
#include <QVariantList>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

namespace vesk {

enum class StoreOperation { fetch, save };

// Lets a test make the next fetches or saves fail: return an error to fail the
// operation before it touches the database, or nothing to let it run.
using StoreFaultInjector = std::function<std::optional<StoreError>(StoreOperation)>;

// What to fetch: a filter, an order ("comes before") and a limit, all optional.
// Without an order the records come in the store's order, unsaved inserts last.
template <typename T>
struct FetchDescriptor {
    std::function<bool(const T&)> predicate = {};
    std::function<bool(const T&, const T&)> sortBefore = {};
    std::optional<int> fetchLimit = std::nullopt;
};

// The unit of work over one store connection, main thread only. Each stored
// row is one shared record object for the life of the context, so a record
// fetched twice is the same object. Changes to fetched records and inserted
// records stay pending until save() writes them all in one transaction; when
// the save fails they stay pending and the next save writes them. A row that
// cannot be decoded is left out of every fetch (and never written), with a
// warning naming it, so that one damaged row does not hide all the others.
// Views that show records follow `saved`, which is emitted after every save
// that wrote something.
class ModelContext final : public QObject {
    Q_OBJECT

public:
    explicit ModelContext(QString connectionName);
    ModelContext(const ModelContext&) = delete;
    ModelContext& operator=(const ModelContext&) = delete;

    template <typename T>
    StoreResult<std::vector<std::shared_ptr<T>>> fetch(const FetchDescriptor<T>& descriptor = {});

    // Adds a new record; it is written by the next save. Inserting a record
    // the context already holds changes nothing.
    template <typename T>
    void insert(std::shared_ptr<T> record);

    StoreResult<> save();
    bool hasChanges() const;

    // The store's identifier of a saved record; none before its first save.
    template <typename T>
    std::optional<qint64> persistentIdentifier(const std::shared_ptr<T>& record) const;

    void setFaultInjector(StoreFaultInjector injector) { faultInjector_ = std::move(injector); }
    // Called with the error of every save that fails.
    void setSaveFailureHandler(std::function<void(const StoreError&)> handler)
    {
        saveFailureHandler_ = std::move(handler);
    }

signals:
    // Records were inserted or changed in the store.
    void saved();

private:
    template <typename T>
    struct Entry {
        qint64 rowId = 0; // 0 until saved
        std::shared_ptr<T> record;
        QVariantList savedColumns;
    };
    template <typename T>
    using Registry = std::vector<Entry<T>>;

    struct StoredRow {
        qint64 rowId;
        QVariantList columns;
    };
    struct RowWrite {
        const char* table;
        const std::vector<ModelColumn>* columns;
        qint64 rowId; // 0 inserts a new row
        QVariantList values;
    };

    template <typename T>
    Registry<T>& registry()
    {
        return std::get<Registry<T>>(registries_);
    }
    template <typename T>
    const Registry<T>& registry() const
    {
        return std::get<Registry<T>>(registries_);
    }
    template <typename T>
    static bool isPending(const Entry<T>& entry)
    {
        return entry.rowId == 0 || entry.record->toColumns() != entry.savedColumns;
    }

    std::optional<StoreError> injectedFault(StoreOperation operation) const;
    // Logs a row that cannot be decoded, once per row and context.
    void warnUnreadableRow(const char* table, const std::vector<ModelColumn>& columns, const StoredRow& row,
                           const StoreError& error);
    StoreResult<> failedSave(StoreError error);
    StoreResult<std::vector<StoredRow>> selectRows(const char* table, const std::vector<ModelColumn>& columns) const;
    // Runs the writes in one transaction; returns the row id of each write.
    StoreResult<std::vector<qint64>> writeAll(const std::vector<RowWrite>& writes);

    QString connectionName_;
    StoreFaultInjector faultInjector_;
    std::function<void(const StoreError&)> saveFailureHandler_;
    std::set<std::pair<QString, qint64>> reportedUnreadableRows_;
    std::tuple<Registry<FocusSession>, Registry<AllowlistPreset>, Registry<CurrentAllowlist>> registries_;
};

template <typename T>
StoreResult<std::vector<std::shared_ptr<T>>> ModelContext::fetch(const FetchDescriptor<T>& descriptor)
{
    if (auto fault = injectedFault(StoreOperation::fetch))
        return *fault;
    auto rows = selectRows(T::tableName(), T::columns());
    if (!rows)
        return rows.error();

    Registry<T>& entries = registry<T>();
    std::vector<std::shared_ptr<T>> records;
    for (const StoredRow& row : rows.value()) {
        auto known =
            std::find_if(entries.begin(), entries.end(), [&](const Entry<T>& e) { return e.rowId == row.rowId; });
        if (known != entries.end()) {
            records.push_back(known->record);
            continue;
        }
        StoreResult<T> decoded = T::fromColumns(row.columns);
        if (!decoded) {
            warnUnreadableRow(T::tableName(), T::columns(), row, decoded.error());
            continue;
        }
        auto record = std::make_shared<T>(std::move(decoded).value());
        entries.push_back(Entry<T>{row.rowId, record, record->toColumns()});
        records.push_back(record);
    }
    for (const Entry<T>& entry : entries) {
        if (entry.rowId == 0)
            records.push_back(entry.record);
    }

    if (descriptor.predicate) {
        std::erase_if(records, [&](const std::shared_ptr<T>& record) { return !descriptor.predicate(*record); });
    }
    if (descriptor.sortBefore) {
        std::stable_sort(records.begin(), records.end(), [&](const std::shared_ptr<T>& a, const std::shared_ptr<T>& b) {
            return descriptor.sortBefore(*a, *b);
        });
    }
    if (descriptor.fetchLimit && records.size() > static_cast<size_t>(std::max(0, *descriptor.fetchLimit)))
        records.resize(static_cast<size_t>(std::max(0, *descriptor.fetchLimit)));
    return records;
}

template <typename T>
void ModelContext::insert(std::shared_ptr<T> record)
{
    Registry<T>& entries = registry<T>();
    if (std::any_of(entries.begin(), entries.end(), [&](const Entry<T>& e) { return e.record == record; }))
        return;
    entries.push_back(Entry<T>{0, std::move(record), {}});
}

template <typename T>
std::optional<qint64> ModelContext::persistentIdentifier(const std::shared_ptr<T>& record) const
{
    for (const Entry<T>& entry : registry<T>()) {
        if (entry.record == record && entry.rowId != 0)
            return entry.rowId;
    }
    return std::nullopt;
}

} // namespace vesk
