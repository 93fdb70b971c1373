#pragma once

#include <QString>

#include <set>

namespace vesk {

// Tells, from one snapshot of the on-screen window list, which allowed
// applications can be seen.
class AllowedWindowDetecting {
public:
    struct Result {
        // Applications with at least one visible window fragment.
        std::set<QString> visible;
        // Applications with a counted allowed window (covered, translucent or
        // off-screen) of which nothing is visible. Never overlaps `visible`.
        std::set<QString> covered;

        bool operator==(const Result&) const = default;
    };

    virtual ~AllowedWindowDetecting() = default;
    // An empty allowlist gives two empty sets without reading the window list.
    virtual Result detectAllowedWindows(const std::set<QString>& allowedBundleIDs) const = 0;
};

} // namespace vesk
