#include "store/AllowlistPreset.h"

#include "store/ColumnReader.h"

namespace vesk {

const std::vector<ModelColumn>& AllowlistPreset::columns()
{
    static const std::vector<ModelColumn> columns{
        {"id", "TEXT"},
        {"name", "TEXT"},
        {"appBundleIDs", "TEXT"},
        {"createdAt", "TEXT"},
    };
    return columns;
}

QVariantList AllowlistPreset::toColumns() const
{
    return {encodeUuid(id), name, encodeList(appBundleIDs), encodeDate(createdAt)};
}

StoreResult<AllowlistPreset> AllowlistPreset::fromColumns(const QVariantList& values)
{
    ColumnReader reader(tableName(), columns(), values);
    AllowlistPreset preset;
    preset.id = reader.uuid(0);
    preset.name = reader.text(1);
    preset.appBundleIDs = reader.list(2);
    preset.createdAt = reader.date(3);
    if (reader.error())
        return *reader.error();
    return preset;
}

} // namespace vesk
