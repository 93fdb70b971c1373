#include "store/CurrentAllowlist.h"

#include "store/ColumnReader.h"
#include "store/GoalRule.h"
#include "store/ModelContext.h"

namespace vesk {

CurrentAllowlist CurrentAllowlist::make(const QStringList& appBundleIDs, const std::optional<QString>& goal,
                                        const Clock& clock)
{
    return CurrentAllowlist{appBundleIDs, goalRule(goal), clock.now()};
}

void CurrentAllowlist::setApps(const std::set<QString>& apps, const Clock& clock)
{
    appBundleIDs = QStringList(apps.begin(), apps.end());
    updatedAt = clock.now();
}

void CurrentAllowlist::setGoal(const std::optional<QString>& goal, const Clock& clock)
{
    goalText = goalRule(goal);
    updatedAt = clock.now();
}

std::shared_ptr<CurrentAllowlist> CurrentAllowlist::fetchOrCreate(ModelContext& context, const Clock& clock)
{
    const auto fetched = context.fetch<CurrentAllowlist>({.fetchLimit = 1});
    if (fetched.ok() && !fetched.value().empty())
        return fetched.value().front();
    auto created = std::make_shared<CurrentAllowlist>(make({}, std::nullopt, clock));
    context.insert(created);
    static_cast<void>(context.save());
    return created;
}

const std::vector<ModelColumn>& CurrentAllowlist::columns()
{
    static const std::vector<ModelColumn> columns{
        {"appBundleIDs", "TEXT"},
        {"goalText", "TEXT"},
        {"updatedAt", "TEXT"},
    };
    return columns;
}

QVariantList CurrentAllowlist::toColumns() const
{
    return {encodeList(appBundleIDs), encodeText(goalText), encodeDate(updatedAt)};
}

StoreResult<CurrentAllowlist> CurrentAllowlist::fromColumns(const QVariantList& values)
{
    ColumnReader reader(tableName(), columns(), values);
    CurrentAllowlist allowlist;
    allowlist.appBundleIDs = reader.list(0);
    allowlist.goalText = reader.optionalText(1);
    allowlist.updatedAt = reader.date(2);
    if (reader.error())
        return *reader.error();
    return allowlist;
}

} // namespace vesk
