#include "enforcement/DynamicAllowlistState.h"

namespace vesk {

DynamicAllowlistState::DynamicAllowlistState(std::set<QString> originalBundleIDs, std::set<QString> dynamicBundleIDs)
    : original_(std::move(originalBundleIDs))
    , dynamic_(std::move(dynamicBundleIDs))
{
    for (const QString& id : original_)
        dynamic_.erase(id);
}

std::set<QString> DynamicAllowlistState::allowedBundleIDs() const
{
    std::set<QString> all = original_;
    all.insert(dynamic_.begin(), dynamic_.end());
    return all;
}

bool DynamicAllowlistState::contains(const QString& bundleID) const
{
    return original_.contains(bundleID) || dynamic_.contains(bundleID);
}

void DynamicAllowlistState::insertDynamic(const QString& bundleID)
{
    if (!original_.contains(bundleID))
        dynamic_.insert(bundleID);
}

bool DynamicAllowlistState::remove(const QString& bundleID)
{
    if (!dynamic_.contains(bundleID) || allowedBundleIDs().size() < 2)
        return false;
    dynamic_.erase(bundleID);
    return true;
}

} // namespace vesk
