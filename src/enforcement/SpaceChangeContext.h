#pragma once

#include <QString>

#include <optional>

namespace vesk {

// Passed with every change of the active Space.
struct SpaceChangeContext {
    std::optional<QString> frontmostBundleID;
    // Space changes since the monitor was activated.
    int changesSinceActivation = 0;

    bool operator==(const SpaceChangeContext&) const = default;
};

} // namespace vesk
