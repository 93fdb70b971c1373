#pragma once

#include "enforcement/EventTapHealthCheck.h"
#include "enforcement/GestureBlockPolicy.h"
#include "enforcement/SessionEventTap.h"
#include "logging/VeskLogger.h"
#include "platform/Identifiers.h"
#include "platform/InputEvent.h"

#include <QString>

#include <memory>
#include <optional>
#include <set>

namespace vesk::platform {
class EventTapping;
class PermissionsProviding;
class Workspace;
} // namespace vesk::platform

namespace vesk {

class Scheduler;

// Drops trackpad gestures during a session through one active tap of the
// login session: ordinary gestures unless an allowed application is
// frontmost, the Dock's Space-switching swipe for its whole stream, and two
// kinds of system-defined events always. Fails open. Without the Input
// Monitoring permission at activation it installs nothing for the rest of the
// session; an installed tap is kept alive by a 2.0 s health timer.
class GestureBlockerService {
public:
    GestureBlockerService(Scheduler& scheduler, platform::EventTapping& eventTaps,
                          const platform::PermissionsProviding& permissions, const platform::Workspace& workspace,
                          QString veskBundleID);
    ~GestureBlockerService();
    GestureBlockerService(const GestureBlockerService&) = delete;
    GestureBlockerService& operator=(const GestureBlockerService&) = delete;

    void activate(const std::set<QString>& allowedBundleIDs);
    // Replaces the allowlist, active or not.
    void updateAllowlist(const std::set<QString>& allowedBundleIDs);
    void deactivate();

    // The gesture types, the Dock swipe types and the system-defined type.
    static std::uint64_t eventMask();

    bool isActive() const { return isActive_; }
    bool hasEventTap() const { return eventTap_ != nullptr; }
    bool isDockSwipeActive() const { return isDockSwipeActive_; }

private:
    std::optional<platform::InputEvent> handleTapEvent(int type, const platform::InputEvent& event);
    GestureBlockPolicy::Action decide(const platform::InputEvent& event);
    bool isAllowedFocused(const std::optional<QString>& frontmostBundleID) const;
    void installEventTap();
    void removeEventTap();
    void healthCheckTick();

    Scheduler& scheduler_;
    platform::EventTapping& eventTaps_;
    const platform::PermissionsProviding& permissions_;
    const platform::Workspace& workspace_;

    std::unique_ptr<SessionEventTap> eventTap_;
    bool isActive_ = false;
    std::set<QString> allowedBundleIDs_;
    bool isDockSwipeActive_ = false;
    VeskLogger logger_{QStringLiteral("GestureBlockerService")};
    EventTapHealthCheck healthCheck_{scheduler_, logger_, std::nullopt, [this] { healthCheckTick(); }};
    const QString veskBundleID_;
};

} // namespace vesk
