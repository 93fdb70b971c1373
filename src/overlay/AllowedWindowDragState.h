#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <set>

namespace vesk {

// What the overlay reports about allowed windows being dragged, so that the
// session core does not fight a drag with its own window recovery.
struct AllowedWindowDragState {
    // Applications whose windows moved within the cooldown.
    std::set<QString> bundleIDs;
    // Time of the last observed motion, when still within the cooldown.
    std::optional<QDateTime> lastMotionAt;
    // A mouse button is down.
    bool isMouseInteractionActive = false;
    // Seconds after lastMotionAt during which motion counts as recent.
    double cooldown = 0;

    // The value of an inactive overlay: nothing moving, no button, no cooldown.
    static const AllowedWindowDragState& idle();

    bool operator==(const AllowedWindowDragState&) const = default;
};

} // namespace vesk
