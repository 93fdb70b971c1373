#pragma once

#include "enforcement/EventTapHealthCheck.h"
#include "enforcement/SessionEventTap.h"
#include "enforcement/SpaceBlocking.h"
#include "logging/VeskLogger.h"
#include "platform/InputEvent.h"

#include <QString>

#include <memory>
#include <optional>
#include <set>

namespace vesk::platform {
class EventTapping;
class PermissionsProviding;
} // namespace vesk::platform

namespace vesk {

class DockMissionControlFallbackService;
class GestureBlockerService;
class Scheduler;

// Keeps the user on the current Space during a session with three means: the
// Dock fallback (Mission Control, its gestures and the switch on activation
// off in the Dock itself), the gesture blocker (trackpad gestures and Dock
// swipes), and an active key-down tap of its own that drops the shortcuts of
// SpaceBlockerPolicy. In a hardcore session it also drops Command+Shift+Escape
// before the emergency hotkey sees it: its tap, inserted at the head after
// the hotkey's, comes first.
//
// Fails open: without Input Monitoring, or while the system has switched the
// tap off, shortcuts pass. A repeating 2.0 s health check re-enables the tap
// or installs it again (at most 2.0 s after the permission is granted). A tap
// that the system switched off and that stays off is replaced on the main
// queue, after its callback has returned, never from inside it. Main thread only.
class SpaceBlockerService final : public SpaceBlocking {
public:
    // The Dock fallback and the gesture blocker outlive this service, which
    // switches them on and off with itself.
    SpaceBlockerService(Scheduler& scheduler, platform::EventTapping& eventTaps,
                        const platform::PermissionsProviding& permissions,
                        DockMissionControlFallbackService& dockFallbackService,
                        GestureBlockerService& gestureBlockerService);
    // Deactivates: the Dock settings go back, the taps go away.
    ~SpaceBlockerService() override;
    SpaceBlockerService(const SpaceBlockerService&) = delete;
    SpaceBlockerService& operator=(const SpaceBlockerService&) = delete;

    // Dock fallback, gesture blocker, keyboard tap, health check.
    void activate(const std::set<QString>& allowedBundleIDs, bool hardcore) override;
    // The reverse order; nothing while inactive.
    void deactivate() override;
    void updateAllowlist(const std::set<QString>& allowedBundleIDs) override;

    bool isActive() const { return isActive_; }
    bool isHardcoreEnabled() const { return isHardcoreEnabled_; }
    std::optional<platform::EventTapID> keyboardTapID() const;

private:
    std::optional<platform::InputEvent> handleTapEvent(int type, const platform::InputEvent& event);
    void recoverDisabledTap();
    void replaceTapIfStillDisabled();
    bool shouldBlockKeyEvent(const platform::InputEvent& event);
    bool hasInputMonitoring() const;
    void installKeyboardTap();
    void removeKeyboardTap();
    void healthCheckTick();

    Scheduler& scheduler_;
    platform::EventTapping& eventTaps_;
    const platform::PermissionsProviding& permissions_;
    DockMissionControlFallbackService& dockFallbackService_;
    GestureBlockerService& gestureBlockerService_;
    VeskLogger logger_{QStringLiteral("SpaceBlockerService")};
    EventTapHealthCheck healthCheck_{scheduler_, logger_, QStringLiteral("Space blocker"),
                                     [this] { healthCheckTick(); }};
    std::unique_ptr<SessionEventTap> eventTap_;
    bool isActive_ = false;
    bool isHardcoreEnabled_ = false;
    bool tapReplacementQueued_ = false;
    // Work queued on the main queue holds the service weakly through it.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace vesk
