#include "platform/simulated/RealInputRouter.h"

#include "platform/VirtualKeyCodes.h"
#include "platform/simulated/DesktopEventSystem.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace vesk::platform {

namespace {

int mouseEventType(const QMouseEvent& event)
{
    if (event.type() == QEvent::MouseMove) {
        if (event.buttons() & Qt::LeftButton)
            return EventType::leftMouseDragged;
        if (event.buttons() & Qt::RightButton)
            return EventType::rightMouseDragged;
        return event.buttons() == Qt::NoButton ? EventType::mouseMoved : EventType::otherMouseDragged;
    }
    const bool down = event.type() == QEvent::MouseButtonPress;
    if (event.button() == Qt::LeftButton)
        return down ? EventType::leftMouseDown : EventType::leftMouseUp;
    if (event.button() == Qt::RightButton)
        return down ? EventType::rightMouseDown : EventType::rightMouseUp;
    return down ? EventType::otherMouseDown : EventType::otherMouseUp;
}

// The platform's button number: 0 left, 1 right, 2 middle, then the others.
int buttonNumber(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 0;
    case Qt::RightButton:
        return 1;
    case Qt::MiddleButton:
        return 2;
    default:
        for (int number = 3; number < 32; ++number) {
            if (button == Qt::MouseButton(1u << number))
                return number;
        }
        return 2;
    }
}

} // namespace

RealInputRouter::RealInputRouter(SimulatedDesktop& desktop, std::function<QWindow*(const QPointF&)> desktopWindowAt,
                                 std::function<bool(const QWindow*)> isDesktopWindow)
    : desktop_(desktop)
    , desktopWindowAt_(std::move(desktopWindowAt))
    , isDesktopWindow_(std::move(isDesktopWindow))
{
}

std::uint64_t RealInputRouter::eventFlags(Qt::KeyboardModifiers modifiers)
{
    std::uint64_t flags = 0;
    if (modifiers & Qt::ShiftModifier)
        flags |= EventFlag::shift;
    if (modifiers & Qt::ControlModifier)
        flags |= EventFlag::control;
    if (modifiers & Qt::AltModifier)
        flags |= EventFlag::option;
    if (modifiers & Qt::MetaModifier)
        flags |= EventFlag::command;
    return flags;
}

bool RealInputRouter::eventFilter(QObject* watched, QEvent* event)
{
    // Events this router hands on itself, and events inside widgets, which
    // their window has already passed on.
    if (forwarding_ || !watched->isWindowType())
        return false;
    auto* window = static_cast<QWindow*>(watched);
    if (!routes(window))
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return handleMouse(window, static_cast<QMouseEvent*>(event));
    case QEvent::Wheel:
        return handleWheel(window, static_cast<QWheelEvent*>(event));
    case QEvent::ShortcutOverride:
        return handleShortcutOverride(static_cast<QKeyEvent*>(event));
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        return handleKey(window, static_cast<QKeyEvent*>(event));
    default:
        return false;
    }
}

bool RealInputRouter::routes(const QWindow* window) const
{
    return isDesktopWindow_(window) || desktop_.ownWindowNumber(window).has_value();
}

bool RealInputRouter::handleMouse(QWindow* receiver, QMouseEvent* event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        // Qt's second press of a double click: it goes where the press went.
        if (!grab_ || !grab_->window)
            return true;
        return grab_->window == receiver ? false : forwardMouse(grab_->window, event);
    }
    const bool buttonEvent = event->type() != QEvent::MouseMove;
    InputEvent posted = InputEvent::mouse(mouseEventType(*event), event->globalPosition(),
                                          buttonEvent ? buttonNumber(event->button()) : -1);
    posted.flags = eventFlags(event->modifiers());
    const EventOutcome outcome = desktop_.events().post(posted);

    if (event->type() == QEvent::MouseButtonPress)
        return handlePress(receiver, event, outcome);
    if (posted.type == EventType::mouseMoved)
        return !(outcome.delivered && ownHandle(outcome) == receiver);

    // The rest of a click or a drag goes where its press went.
    const QPointer<QWindow> target = grab_ ? grab_->window : nullptr;
    if (event->type() == QEvent::MouseButtonRelease && event->buttons() == Qt::NoButton)
        grab_.reset();
    if (!outcome.delivered || !target)
        return true;
    return target == receiver ? false : forwardMouse(target, event);
}

bool RealInputRouter::handlePress(QWindow* receiver, QMouseEvent* event, const EventOutcome& outcome)
{
    grab_ = Grab{};
    if (!outcome.delivered)
        return true;
    if (outcome.targetPID != desktop_.ownPID()) {
        // Another application took the click (the event system has brought it
        // forward); the keys typed next go to it.
        if (QWindow* desktopWindow = desktopWindowAt_(event->globalPosition()))
            desktopWindow->requestActivate();
        return true;
    }
    QWindow* target = ownHandle(outcome);
    if (!target)
        return true;
    grab_->window = target;
    const DesktopWindow* listed = desktop_.window(*outcome.targetWindow);
    if (listed && listed->canBecomeKey && target != QGuiApplication::focusWindow())
        target->requestActivate();
    if (target == receiver)
        return false;
    // A window of ours that the desktop drew because others covered it.
    target->raise();
    return forwardMouse(target, event);
}

bool RealInputRouter::handleWheel(QWindow* receiver, QWheelEvent* event)
{
    InputEvent posted = InputEvent::mouse(EventType::scrollWheel, event->globalPosition());
    posted.flags = eventFlags(event->modifiers());
    const EventOutcome outcome = desktop_.events().post(posted);
    return !(outcome.delivered && ownHandle(outcome) == receiver);
}

bool RealInputRouter::handleShortcutOverride(QKeyEvent* event)
{
    // A key press asks its window first whether it is a shortcut; the model
    // decides here, before any shortcut fires, and the press that follows
    // goes the same way.
    const bool passes = postKey(event);
    lastKey_ = KeyDecision{event->key(), event->timestamp(), passes};
    if (passes)
        return false;
    event->accept();
    return true;
}

bool RealInputRouter::handleKey(QWindow* receiver, QKeyEvent* event)
{
    bool passes = false;
    const bool decided = event->type() == QEvent::KeyPress && lastKey_ && lastKey_->key == event->key()
                         && lastKey_->timestamp == event->timestamp();
    if (decided)
        passes = lastKey_->passes;
    else
        passes = postKey(event);
    lastKey_.reset();
    if (!passes)
        return true;
    if (!isDesktopWindow_(receiver))
        return false;
    // Vesk is in front in the model while a desktop window has the keyboard.
    if (QWindow* keyWindow = veskKeyWindow())
        return forward(keyWindow, event);
    return true;
}

bool RealInputRouter::postKey(QKeyEvent* event)
{
    const auto keyCode = virtualKeyCode(event->key());
    if (!keyCode) {
        // Keys without a code on the platform's keyboard (modifiers alone,
        // letters of other layouts) go to the application in front.
        return desktop_.frontmostPID() == desktop_.ownPID();
    }
    const int type = event->type() == QEvent::KeyRelease ? EventType::keyUp : EventType::keyDown;
    const EventOutcome outcome =
        desktop_.events().post(InputEvent::key(type, *keyCode, eventFlags(event->modifiers())));
    return outcome.delivered && outcome.targetPID == desktop_.ownPID();
}

QWindow* RealInputRouter::ownHandle(const EventOutcome& outcome) const
{
    if (outcome.targetPID != desktop_.ownPID() || !outcome.targetWindow)
        return nullptr;
    return desktop_.ownWindowHandle(*outcome.targetWindow);
}

QWindow* RealInputRouter::veskKeyWindow() const
{
    for (const DesktopWindow* window : desktop_.windowsOf(desktop_.ownPID())) {
        if (window->canBecomeKey && desktop_.isOnScreen(*window)) {
            if (QWindow* handle = desktop_.ownWindowHandle(window->number))
                return handle;
        }
    }
    return nullptr;
}

bool RealInputRouter::forward(QWindow* target, QEvent* event)
{
    forwarding_ = true;
    QCoreApplication::sendEvent(target, event);
    forwarding_ = false;
    return true;
}

bool RealInputRouter::forwardMouse(QWindow* target, QMouseEvent* event)
{
    const QPointF local = target->mapFromGlobal(event->globalPosition());
    QMouseEvent moved(event->type(), local, local, event->globalPosition(), event->button(), event->buttons(),
                      event->modifiers(), event->pointingDevice());
    return forward(target, &moved);
}

} // namespace vesk::platform
