#include "platform/simulated/DesktopEventSystem.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QLoggingCategory>

#include <algorithm>

Q_LOGGING_CATEGORY(lcEvents, "vesk.platform.events")

namespace vesk::platform {

namespace {

bool isMouseDown(int type)
{
    return type == EventType::leftMouseDown || type == EventType::rightMouseDown || type == EventType::otherMouseDown;
}

bool isMouseUp(int type)
{
    return type == EventType::leftMouseUp || type == EventType::rightMouseUp || type == EventType::otherMouseUp;
}

bool isPointerEvent(int type)
{
    return isMouseDown(type) || isMouseUp(type) || type == EventType::mouseMoved || type == EventType::leftMouseDragged
           || type == EventType::rightMouseDragged || type == EventType::otherMouseDragged
           || type == EventType::scrollWheel;
}

bool isKeyEvent(int type)
{
    return type == EventType::keyDown || type == EventType::keyUp || type == EventType::flagsChanged;
}

int buttonOf(const InputEvent& event)
{
    switch (event.type) {
    case EventType::leftMouseDown:
    case EventType::leftMouseUp:
    case EventType::leftMouseDragged:
        return 0;
    case EventType::rightMouseDown:
    case EventType::rightMouseUp:
    case EventType::rightMouseDragged:
        return 1;
    default:
        return int(std::max<std::int64_t>(2, event.integerField(EventField::mouseEventButtonNumber)));
    }
}

constexpr std::uint64_t kModifierMask = EventFlag::command | EventFlag::option | EventFlag::control | EventFlag::shift;

// How many delivered events the record keeps at least.
constexpr std::size_t kDeliveredRecordLimit = 4096;

} // namespace

DesktopEventSystem::DesktopEventSystem(SimulatedDesktop& desktop) : desktop_(desktop), titleBar_(desktop)
{
}

std::optional<EventTapID> DesktopEventSystem::createTap(TapLocation location, TapPlacement placement,
                                                        TapOptions options, std::uint64_t eventMask,
                                                        EventTapCallback callback)
{
    if (refusesTaps_ || !desktop_.hasInputMonitoringGrant() || !callback || desktop_.isOwnProcessCrashed())
        return std::nullopt;
    return chain_.addTap(location, placement, options, eventMask, std::move(callback));
}

void DesktopEventSystem::enableTap(EventTapID tap, bool enable)
{
    if (enable && refusesEnabling_)
        return;
    chain_.enableTap(tap, enable);
}

bool DesktopEventSystem::isTapEnabled(EventTapID tap) const
{
    return chain_.isTapEnabled(tap);
}

void DesktopEventSystem::invalidateTap(EventTapID tap)
{
    chain_.removeTap(tap);
}

bool DesktopEventSystem::isTapValid(EventTapID tap) const
{
    return chain_.hasTap(tap);
}

void DesktopEventSystem::removeAllTapsAndMonitors()
{
    chain_.clear();
}

void DesktopEventSystem::disableTapByTimeout(EventTapID tap)
{
    notifyDisabled(tap, EventType::tapDisabledByTimeout);
}

void DesktopEventSystem::disableTapByUserInput(EventTapID tap)
{
    notifyDisabled(tap, EventType::tapDisabledByUserInput);
}

void DesktopEventSystem::notifyDisabled(EventTapID tap, int notice)
{
    if (!chain_.hasTap(tap))
        return;
    qCInfo(lcEvents) << "Event tap disabled by the system — tap=" << tap << ", notice=" << notice;
    chain_.notifyDisabled(tap, notice);
}

EventMonitorID DesktopEventSystem::addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler)
{
    return chain_.addLocalMonitor(eventMask, std::move(handler));
}

EventMonitorID DesktopEventSystem::addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler)
{
    return chain_.addGlobalMonitor(eventMask, std::move(handler));
}

void DesktopEventSystem::removeMonitor(EventMonitorID monitor)
{
    chain_.removeMonitor(monitor);
}

void DesktopEventSystem::trackHardwareState(const InputEvent& event)
{
    if (isPointerEvent(event.type))
        desktop_.setMouseLocation(desktop_.cocoaPoint(event.location));
    if (isMouseDown(event.type))
        desktop_.setMouseButtonDown(buttonOf(event), true);
    else if (isMouseUp(event.type))
        desktop_.setMouseButtonDown(buttonOf(event), false);
}

EventOutcome DesktopEventSystem::target(const InputEvent& event) const
{
    EventOutcome outcome;
    if (isKeyEvent(event.type)) {
        // A key panel of ours takes the keyboard while Vesk stays in the background.
        if (const auto keyPanel = desktop_.keyOwnWindow()) {
            outcome.targetPID = desktop_.ownPID();
            outcome.targetWindow = *keyPanel;
            return outcome;
        }
        outcome.targetPID = desktop_.frontmostPID();
        if (outcome.targetPID)
            outcome.targetWindow = desktop_.mainWindow(*outcome.targetPID);
        return outcome;
    }
    const QPointF location =
        isPointerEvent(event.type) ? event.location : desktop_.quartzPoint(desktop_.mouseLocation());
    if (const DesktopWindow* window = desktop_.windowAt(location)) {
        outcome.targetPID = window->ownerPID;
        outcome.targetWindow = window->number;
    }
    return outcome;
}

EventOutcome DesktopEventSystem::post(const InputEvent& original)
{
    trackHardwareState(original);
    const EventOutcome outcome = deliver(original);
    if (isPointerEvent(original.type))
        titleBar_.handle(original, outcome);
    return outcome;
}

EventOutcome DesktopEventSystem::deliver(const InputEvent& original)
{
    const EventTapChain::Passage passage = chain_.pass(original);
    if (!passage.event) {
        EventOutcome swallowed;
        swallowed.swallowedByTap = passage.swallowedBy;
        return swallowed;
    }
    InputEvent event = *passage.event;

    EventOutcome outcome = target(event);
    const bool toVesk = outcome.targetPID && *outcome.targetPID == desktop_.ownPID();
    if (toVesk) {
        const auto monitored = chain_.passLocalMonitors(event);
        if (!monitored) {
            outcome.swallowedByMonitor = true;
            return outcome;
        }
        event = *monitored;
    } else if (!isKeyEvent(event.type) || desktop_.isAccessibilityTrusted()) {
        // Key events of other applications reach global monitors only for trusted processes.
        chain_.passGlobalMonitors(event);
    }

    outcome.delivered = true;
    applyToSystem(event, outcome);
    record(event, outcome);
    return outcome;
}

void DesktopEventSystem::record(const InputEvent& event, const EventOutcome& outcome)
{
    if (delivered_.size() >= 2 * kDeliveredRecordLimit)
        delivered_.erase(delivered_.begin(), delivered_.begin() + kDeliveredRecordLimit);
    delivered_.emplace_back(event, outcome);
}

void DesktopEventSystem::applyToSystem(const InputEvent& event, const EventOutcome& outcome)
{
    const int pointerDisplay =
        desktop_.displayIndexForCocoaRect(QRectF(desktop_.mouseLocation(), QSizeF(1, 1))).value_or(0);

    if (isMouseDown(event.type) && event.type != EventType::otherMouseDown) {
        bringClickedWindowForward(outcome);
        return;
    }

    if (event.type == EventType::keyDown) {
        applyKeyToSystem(event, pointerDisplay);
        return;
    }

    const bool dockSwipe = (event.type == EventType::gesture || event.type == EventType::magnify)
                           && event.integerField(EventField::gestureHIDType) == kDockSwipeHIDType;
    if (dockSwipe) {
        const auto phase = event.integerField(EventField::gesturePhase);
        if (phase == 4 || phase == 8)
            applyDockSwipeEnd(event.integerField(EventField::swipeDirection), pointerDisplay);
    }
}

// A Dock setting the running Dock read as off when it last started.
bool DesktopEventSystem::dockSettingIsOff(const QString& key) const
{
    const QVariant value = desktop_.appliedDockPreferences().value(key);
    return value.isValid() && !value.toBool();
}

void DesktopEventSystem::applyKeyToSystem(const InputEvent& event, int pointerDisplay)
{
    const std::uint64_t modifiers = event.flags & kModifierMask;
    const auto keyCode = event.keyCode();
    const bool exposeDisabled = desktop_.appliedDockPreferences().value(QStringLiteral("mcx-expose-disabled")).toBool();
    if (modifiers == EventFlag::control && (keyCode == KeyCode::leftArrow || keyCode == KeyCode::rightArrow)) {
        desktop_.switchToAdjacentSpace(pointerDisplay, keyCode == KeyCode::rightArrow ? 1 : -1);
    } else if ((modifiers == EventFlag::control && keyCode == KeyCode::upArrow)
               || (modifiers == 0 && keyCode == KeyCode::f3)) {
        if (!exposeDisabled)
            ++missionControlInvocations_;
    } else if (modifiers == EventFlag::command && keyCode == KeyCode::space) {
        ++spotlightInvocations_;
    } else if (modifiers == (EventFlag::command | EventFlag::shift)
               && (keyCode == KeyCode::digit3 || keyCode == KeyCode::digit4 || keyCode == KeyCode::digit5)) {
        ++screenshotsTaken_;
        const auto thumbnail =
            desktop_.defaults().value(QStringLiteral("com.apple.screencapture"), QStringLiteral("show-thumbnail"));
        if (!thumbnail || thumbnail->toBool())
            ++screenshotThumbnailsShown_;
    } else if (modifiers == EventFlag::command && keyCode == KeyCode::tab) {
        const bool vesk = desktop_.frontmostPID() == desktop_.ownPID();
        if (!(vesk && (desktop_.presentationOptions() & PresentationDisableProcessSwitching))) {
            for (const DesktopApplication& app : desktop_.applications()) {
                if (!app.terminated && app.activationPolicy == ActivationPolicy::regular
                    && app.pid != desktop_.frontmostPID()) {
                    desktop_.activate(app.pid, ActivateAllWindows);
                    break;
                }
            }
        }
    }
}

// Sideways the Dock switches the Space; up it opens Mission Control, down App
// Exposé, unless its settings switched them off.
void DesktopEventSystem::applyDockSwipeEnd(std::int64_t direction, int pointerDisplay)
{
    const bool exposeDisabled = desktop_.appliedDockPreferences().value(QStringLiteral("mcx-expose-disabled")).toBool();
    if (direction == 2) {
        if (!exposeDisabled && !dockSettingIsOff(QStringLiteral("showMissionControlGestureEnabled")))
            ++missionControlInvocations_;
    } else if (direction == -2) {
        if (!exposeDisabled && !dockSettingIsOff(QStringLiteral("showAppExposeGestureEnabled")))
            ++appExposeInvocations_;
    } else {
        desktop_.switchToAdjacentSpace(pointerDisplay, direction < 0 ? -1 : 1);
    }
}

void DesktopEventSystem::bringClickedWindowForward(const EventOutcome& outcome)
{
    if (!outcome.targetPID || !outcome.targetWindow)
        return;
    // A click brings its window's application forward; Vesk's panels that
    // never become key leave the frontmost application alone.
    if (*outcome.targetPID == desktop_.ownPID()) {
        const DesktopWindow* window = desktop_.window(*outcome.targetWindow);
        if (!window || !window->canBecomeKey)
            return;
    }
    desktop_.activate(*outcome.targetPID, 0);
    desktop_.raiseWindow(*outcome.targetWindow);
}

EventOutcome DesktopEventSystem::click(const QPointF& quartzPoint, int button)
{
    const int down = button == 0   ? EventType::leftMouseDown
                     : button == 1 ? EventType::rightMouseDown
                                   : EventType::otherMouseDown;
    const int up = button == 0   ? EventType::leftMouseUp
                   : button == 1 ? EventType::rightMouseUp
                                 : EventType::otherMouseUp;
    const EventOutcome outcome = post(InputEvent::mouse(down, quartzPoint, button));
    post(InputEvent::mouse(up, quartzPoint, button));
    return outcome;
}

EventOutcome DesktopEventSystem::keyPress(std::int64_t keyCode, std::uint64_t flags)
{
    const EventOutcome outcome = post(InputEvent::key(EventType::keyDown, keyCode, flags));
    post(InputEvent::key(EventType::keyUp, keyCode, flags));
    return outcome;
}

} // namespace vesk::platform
