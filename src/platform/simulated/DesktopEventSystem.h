#pragma once

#include "platform/EventTapChain.h"
#include "platform/EventTapping.h"
#include "platform/simulated/EventOutcome.h"
#include "platform/simulated/TitleBarInteraction.h"

#include <QPointF>
#include <QString>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// The simulated desktop's event taps and monitors, and the delivery of
// injected input: an event passes the taps and monitors as EventTapping
// describes, then reaches its target. The pointer position and the button state
// follow the hardware, swallowed or not.
class DesktopEventSystem final : public EventTapping {
public:
    explicit DesktopEventSystem(SimulatedDesktop& desktop);

    // Refused without Input Monitoring, or when told to refuse.
    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID tap, bool enable) override;
    bool isTapEnabled(EventTapID tap) const override;
    void invalidateTap(EventTapID tap) override;
    bool isTapValid(EventTapID tap) const override;

    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID monitor) override;

    // --- Test controls ----------------------------------------------------------
    // The system switches a tap off and tells it (the tap-disabled notice).
    void disableTapByTimeout(EventTapID tap);
    void disableTapByUserInput(EventTapID tap);
    // Valid taps in the order events pass them.
    std::vector<EventTapID> tapsInOrder() const { return chain_.tapsInOrder(); }
    void setRefusesTapCreation(bool refuses) { refusesTaps_ = refuses; }
    // While set, the system keeps a tap it switched off switched off: enabling
    // it does nothing (taps created meanwhile start enabled as always).
    void setRefusesTapEnabling(bool refuses) { refusesEnabling_ = refuses; }
    // Every tap and monitor goes, as when the process that made them ends.
    void removeAllTapsAndMonitors();

    int monitorCount() const { return chain_.monitorCount(); }

    // Injects an event into the system.
    EventOutcome post(const InputEvent& event);
    // A click (down and up) at a top-left point with a button (0 left, 1 right, 2 other).
    EventOutcome click(const QPointF& quartzPoint, int button = 0);
    EventOutcome keyPress(std::int64_t keyCode, std::uint64_t flags);

    // Events that reached their target, in order, with the outcome (the
    // latest few thousand: a real mouse posts events for as long as it moves).
    const std::vector<std::pair<InputEvent, EventOutcome>>& deliveredEvents() const { return delivered_; }
    // What delivered shortcuts and swipes did: Mission Control (Control+Up,
    // F3, a swipe up), App Exposé (a swipe down), Spotlight (Command+Space),
    // screenshots (Command+Shift+3, 4, 5) and the floating thumbnail each one
    // shows unless "show-thumbnail" of "com.apple.screencapture" is false.
    // The Dock's gestures follow the settings it last started with.
    int missionControlInvocations() const { return missionControlInvocations_; }
    int appExposeInvocations() const { return appExposeInvocations_; }
    int spotlightInvocations() const { return spotlightInvocations_; }
    int screenshotsTaken() const { return screenshotsTaken_; }
    int screenshotThumbnailsShown() const { return screenshotThumbnailsShown_; }

private:
    void notifyDisabled(EventTapID tap, int notice);
    void trackHardwareState(const InputEvent& event);
    EventOutcome target(const InputEvent& event) const;
    EventOutcome deliver(const InputEvent& event);
    void applyToSystem(const InputEvent& event, const EventOutcome& outcome);
    void applyKeyToSystem(const InputEvent& event, int pointerDisplay);
    void applyDockSwipeEnd(std::int64_t direction, int pointerDisplay);
    bool dockSettingIsOff(const QString& key) const;
    void bringClickedWindowForward(const EventOutcome& outcome);
    void record(const InputEvent& event, const EventOutcome& outcome);

    SimulatedDesktop& desktop_;
    EventTapChain chain_;
    bool refusesTaps_ = false;
    bool refusesEnabling_ = false;
    std::vector<std::pair<InputEvent, EventOutcome>> delivered_;
    TitleBarInteraction titleBar_;
    int missionControlInvocations_ = 0;
    int appExposeInvocations_ = 0;
    int spotlightInvocations_ = 0;
    int screenshotsTaken_ = 0;
    int screenshotThumbnailsShown_ = 0;
};

} // namespace vesk::platform
