#pragma once

#include "logging/VeskLogger.h"
#include "platform/EventTapChain.h"
#include "platform/EventTapping.h"
#include "platform/x11/X11GestureTap.h"
#include "platform/x11/X11KeyTap.h"
#include "platform/x11/X11PointerTap.h"
#include "platform/x11/X11RootMapping.h"

#include <functional>
#include <memory>

namespace vesk::platform {

class X11Connection;

// Event taps and monitors on an X11 desktop. The taps and monitors live in
// one EventTapChain, which keeps their order and runs their callbacks; a part
// per kind of input takes from the X server what the chain's enabled taps ask
// for and hands each event through the chain:
// - the pointer (`X11PointerTap`): mouse-downs;
// - the keyboard (`X11KeyTap`): the desktop's switching chords and the
//   emergency chord, and the key monitors;
// - the gestures (`X11GestureTap`): pinches and swipes, where the server
//   reports them.
// After every change of the chain `followTaps()` tells each part what the
// chain now asks for. A tap asking for events that no part takes is refused
// (logged once), so its service goes on without it and input passes
// (fail-open). Main thread only.
class X11EventTaps final : public EventTapping {
public:
    X11EventTaps(X11Connection& connection, std::function<const X11RootMapping&()> rootMapping = {});
    ~X11EventTaps() override;

    std::optional<EventTapID> createTap(TapLocation location, TapPlacement placement, TapOptions options,
                                        std::uint64_t eventMask, EventTapCallback callback) override;
    void enableTap(EventTapID tap, bool enable) override;
    // The services' health checks ask this every 2 s: chords another client
    // held are tried again then.
    bool isTapEnabled(EventTapID tap) const override;
    void invalidateTap(EventTapID tap) override;
    bool isTapValid(EventTapID tap) const override;
    EventMonitorID addLocalMonitor(std::uint64_t eventMask, LocalEventMonitor handler) override;
    EventMonitorID addGlobalMonitor(std::uint64_t eventMask, GlobalEventMonitor handler) override;
    void removeMonitor(EventMonitorID monitor) override;

    EventTapChain& chain() { return chain_; }
    const X11PointerTap& pointer() const { return pointer_; }
    const X11GestureTap& gestures() const { return gestures_; }
    X11KeyTap& keyTap() { return *keyTap_; }

private:
    // The event kinds some part can take.
    static std::uint64_t tappableKinds();

    void followTaps();

    EventTapChain chain_;
    X11PointerTap pointer_;
    X11GestureTap gestures_;
    std::unique_ptr<X11KeyTap> keyTap_;
    bool tapRefusalReported_ = false;
    VeskLogger logger_{QStringLiteral("X11EventTaps")};
};

} // namespace vesk::platform
