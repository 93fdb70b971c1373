#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"
#include "platform/EventTapping.h"
#include "platform/x11/X11GestureTap.h"
#include "platform/x11/X11PointerTap.h"
#include "platform/x11/X11RootMapping.h"

#include <functional>

namespace vesk::platform {

class X11Connection;

// Event taps and monitors on an X11 desktop. The taps and monitors live in
// one EventTapChain, which keeps their order and runs their callbacks; a part
// per kind of input takes from the X server what the chain's enabled taps ask
// for and hands each event through the chain:
// - the pointer (`X11PointerTap`): mouse-downs;
// - the gestures (`X11GestureTap`): pinches and swipes, where the server
//   reports them.
// After every change of the chain `followTaps()` tells each part what the
// chain now asks for. A tap asking for events that no part takes is refused
// (logged once), so its service goes on without it and input passes
// (fail-open). Monitors are kept in the chain; no part feeds them yet
// (logged once). Main thread only.
class X11EventTaps final : public EventTapping {
public:
    X11EventTaps(X11Connection& connection, std::function<const X11RootMapping&()> rootMapping);
    ~X11EventTaps() override;

    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID tap, bool enable) override;
    bool isTapEnabled(EventTapID tap) const override;
    void invalidateTap(EventTapID tap) override;
    bool isTapValid(EventTapID tap) const override;
    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID monitor) override;

    const X11PointerTap& pointer() const { return pointer_; }
    const X11GestureTap& gestures() const { return gestures_; }

private:
    // The event kinds some part can take.
    static std::uint64_t tappableKinds() { return X11PointerTap::kinds | X11GestureTap::acceptedMask(); }

    void followTaps();
    void noteMonitor();

    EventTapChain chain_;
    X11PointerTap pointer_;
    X11GestureTap gestures_;
    bool tapRefusalReported_ = false;
    bool monitorReported_ = false;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
