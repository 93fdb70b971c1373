#pragma once

#include "core/Clock.h"
#include "store/ModelColumn.h"
#include "store/StoreResult.h"

#include <QDateTime>
#include <QStringList>
#include <QVariantList>

#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

class ModelContext;

// The one current selection of the setup screen: the allowed apps and the goal
// draft. Changes are kept in the context until it is saved.
struct CurrentAllowlist {
    QStringList appBundleIDs;
    std::optional<QString> goalText;
    QDateTime updatedAt;

    // The goal goes through the goal rule; updatedAt is now.
    static CurrentAllowlist make(const QStringList& appBundleIDs, const std::optional<QString>& goal,
                                 const Clock& clock);

    // The apps in the set's order; updatedAt becomes now. Does not save.
    void setApps(const std::set<QString>& apps, const Clock& clock);
    // The goal rule applied to the goal; updatedAt becomes now. Does not save.
    void setGoal(const std::optional<QString>& goal, const Clock& clock);

    // The record the store yields first, or a new empty one inserted and saved.
    // Never fails: a failed fetch counts as no record, a failed save is left
    // pending in the context.
    static std::shared_ptr<CurrentAllowlist> fetchOrCreate(ModelContext& context, const Clock& clock);

    static const char* tableName() { return "CurrentAllowlist"; }
    static const std::vector<ModelColumn>& columns();
    QVariantList toColumns() const;
    static StoreResult<CurrentAllowlist> fromColumns(const QVariantList& values);
};

} // namespace vesk
