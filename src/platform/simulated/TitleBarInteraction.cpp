#include "platform/simulated/TitleBarInteraction.h"

#include "platform/simulated/DesktopAccessibility.h"
#include "platform/simulated/SimulatedDesktop.h"

namespace vesk::platform {

namespace {

constexpr AXElement::Kind kButtons[] = {AXElement::Kind::closeButton, AXElement::Kind::minimizeButton,
                                        AXElement::Kind::zoomButton};

std::optional<AXElement::Kind> buttonAt(const DesktopWindow& window, const QPointF& point)
{
    for (const AXElement::Kind button : kButtons) {
        if (DesktopAccessibility::buttonFrame(button, window.bounds).contains(point))
            return button;
    }
    return std::nullopt;
}

} // namespace

TitleBarInteraction::TitleBarInteraction(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

void TitleBarInteraction::handle(const InputEvent& event, const EventOutcome& outcome)
{
    switch (event.type) {
    case EventType::leftMouseDown:
        drag_.reset();
        armed_.reset();
        if (outcome.delivered)
            begin(event, outcome);
        break;
    case EventType::leftMouseDragged:
        if (drag_ && outcome.delivered) {
            if (const DesktopWindow* window = desktop_.window(drag_->window))
                desktop_.setWindowBounds(drag_->window,
                                         QRectF(event.location - drag_->grabOffset, window->bounds.size()));
        }
        break;
    case EventType::leftMouseUp:
        if (outcome.delivered)
            finish(event);
        drag_.reset();
        armed_.reset();
        break;
    default:
        break;
    }
}

void TitleBarInteraction::begin(const InputEvent& event, const EventOutcome& outcome)
{
    if (!outcome.targetWindow || outcome.targetPID == desktop_.ownPID())
        return;
    const DesktopWindow* window = desktop_.window(*outcome.targetWindow);
    if (!window || !window->hasTitleBarButtons || window->fullScreen)
        return;
    const QRectF titleBar(window->bounds.topLeft(), QSizeF(window->bounds.width(), kTitleBarHeight));
    if (!titleBar.contains(event.location))
        return;
    if (const auto button = buttonAt(*window, event.location))
        armed_ = ArmedButton{window->number, *button};
    else
        drag_ = Drag{window->number, event.location - window->bounds.topLeft()};
}

void TitleBarInteraction::finish(const InputEvent& event)
{
    if (!armed_)
        return;
    const DesktopWindow* window = desktop_.window(armed_->window);
    if (window && buttonAt(*window, event.location) == armed_->button)
        desktop_.pressTitleBarButton(armed_->window, armed_->button);
}

} // namespace vesk::platform
