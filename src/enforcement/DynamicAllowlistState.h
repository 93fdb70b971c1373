#pragma once

#include <QString>

#include <set>

namespace vesk {

// A session's allowlist: the applications it started with and those added
// while it runs. The allowlist is their union.
class DynamicAllowlistState {
public:
    DynamicAllowlistState() = default;
    // Identifiers of the original list are dropped from the dynamic one.
    DynamicAllowlistState(std::set<QString> originalBundleIDs, std::set<QString> dynamicBundleIDs);

    const std::set<QString>& originalBundleIDs() const { return original_; }
    const std::set<QString>& dynamicBundleIDs() const { return dynamic_; }
    std::set<QString> allowedBundleIDs() const;
    bool contains(const QString& bundleID) const;

    // Adds an identifier to the dynamic set unless it is already allowed.
    void insertDynamic(const QString& bundleID);
    // Removes a dynamic identifier while at least two applications are allowed.
    // Original identifiers are never removed.
    bool remove(const QString& bundleID);

    bool operator==(const DynamicAllowlistState&) const = default;

private:
    std::set<QString> original_;
    std::set<QString> dynamic_;
};

} // namespace vesk
