#pragma once

#include "enforcement/AXWindowControlResolving.h"
#include "enforcement/EventTapHealthCheck.h"
#include "enforcement/MouseBlockerClickDecision.h"
#include "enforcement/MouseBlockerEventTapInstalling.h"
#include "enforcement/MouseBlocking.h"
#include "logging/VeskLogger.h"
#include "platform/InputEvent.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <optional>

namespace vesk::platform {
class EventTapping;
class PermissionsProviding;
class ScreenProviding;
class WindowControlZoneProviding;
} // namespace vesk::platform

namespace vesk {

class Clock;
class Scheduler;
class WindowSnapshotReader;

// Swallows mouse-downs outside the overlay's holes and Vesk's own panels
// through one active tap of the login session, and turns a left click on the
// close, minimise or zoom button of an allowed window into a window action.
// Fails open: without the Input Monitoring permission, or while the system
// refuses or switches off the tap, clicks pass. A 2.0 s health timer
// re-enables a switched-off tap and installs a missing one once the
// permission is there. Main thread only; the tap's callback holds the service
// without owning it, so the service removes its tap before it goes away.
class MouseBlockerService final : public MouseBlocking {
public:
    // The left, right and other mouse-down events.
    static constexpr std::uint64_t eventMask = 0x200000A;

    MouseBlockerService(Scheduler& scheduler, const Clock& clock, const platform::ScreenProviding& screens,
                        WindowSnapshotReader& windowSnapshots, QString veskBundleID,
                        std::unique_ptr<AXWindowControlResolving> controlResolver,
                        std::function<bool()> permissionProvider,
                        std::unique_ptr<MouseBlockerEventTapInstalling> eventTapInstaller,
                        const platform::WindowControlZoneProviding* controlZones = nullptr);
    ~MouseBlockerService() override;
    MouseBlockerService(const MouseBlockerService&) = delete;
    MouseBlockerService& operator=(const MouseBlockerService&) = delete;

    // The permission check the application uses: the preflight answer, else the probe.
    static std::function<bool()> defaultInputMonitoringCheck(const platform::PermissionsProviding& permissions,
                                                             platform::EventTapping& eventTaps);

    void activate(const std::set<QString>& allowedBundleIDs) override;
    void updateAllowlist(const std::set<QString>& allowedBundleIDs) override;
    void deactivate() override;
    void updateVeskControlRects(const std::vector<Rect>& rects) override;
    void setVisiblePassthroughRects(const std::vector<Rect>& rects) override;
    void setAllowedWindowControlClickHandler(ControlClickHandler handler) override;
    void setClickObserver(ClickObserver observer) override;

    bool isActive() const { return isActive_; }
    bool hasInstalledTap() const { return installedTap_.has_value(); }

private:
    std::optional<platform::InputEvent> handleTapEvent(int type, const platform::InputEvent& event);
    // Whether the click may pass.
    bool handleMouseDown(int eventType, Point quartzPoint);
    bool handleControlZoneClick(MouseBlockerClickDecision decision);
    void logClickDecision(const MouseBlockerClickDecision& decision);
    void installTap();
    void removeTap();
    void healthCheckTick();

    Scheduler& scheduler_;
    const Clock& clock_;
    const platform::ScreenProviding& screens_;
    // Shared with the overlay: a click reads the snapshots its last frame
    // parsed while the window list has not changed since.
    WindowSnapshotReader& windowSnapshots_;

    std::optional<MouseBlockerInstalledTap> installedTap_;
    bool isActive_ = false;
    std::set<QString> allowedBundleIDs_;
    std::optional<QString> lastClickLogSignature_;
    std::optional<QDateTime> lastClickLogDate_;
    ControlClickHandler allowedWindowControlClickHandler_;
    ClickObserver clickObserver_;
    std::vector<Rect> visiblePassthroughRects_;
    std::vector<Rect> registeredVeskControlRects_;
    const QString veskBundleID_;
    const std::unique_ptr<AXWindowControlResolving> controlResolver_;
    const std::function<bool()> permissionProvider_;
    const std::unique_ptr<MouseBlockerEventTapInstalling> eventTapInstaller_;
    // Where the desktop places a window's title-bar buttons; none: the top-left layout.
    const platform::WindowControlZoneProviding* const controlZones_;
    VeskLogger logger_{QStringLiteral("MouseBlockerService")};
    EventTapHealthCheck healthCheck_{scheduler_, logger_, QStringLiteral("Mouse blocker"),
                                     [this] { healthCheckTick(); }};
};

} // namespace vesk
