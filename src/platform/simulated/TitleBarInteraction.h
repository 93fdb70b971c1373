#pragma once

#include "platform/AXElement.h"
#include "platform/InputEvent.h"
#include "platform/simulated/EventOutcome.h"

#include <QPointF>

#include <optional>

namespace vesk::platform {

class SimulatedDesktop;

// What the left button does on the title bar of another application's window,
// as the window server handles it: a drag that starts on the bar moves the
// window; a press and a release on the same close, minimise or zoom button
// press that button. It sees every pointer event after the taps, delivered or
// swallowed: a swallowed mouse-down starts nothing.
class TitleBarInteraction {
public:
    explicit TitleBarInteraction(SimulatedDesktop& desktop);

    void handle(const InputEvent& event, const EventOutcome& outcome);

private:
    void begin(const InputEvent& event, const EventOutcome& outcome);
    void finish(const InputEvent& event);

    struct Drag {
        WindowNumber window;
        QPointF grabOffset; // from the window's top-left corner to the pointer
    };
    struct ArmedButton {
        WindowNumber window;
        AXElement::Kind button;
    };

    SimulatedDesktop& desktop_;
    std::optional<Drag> drag_;
    std::optional<ArmedButton> armed_;
};

} // namespace vesk::platform
