#pragma once

#include "platform/Identifiers.h"
#include "platform/simulated/EventOutcome.h"

#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QWindow>

#include <cstdint>
#include <functional>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace vesk::platform {

class SimulatedDesktop;

// Real mouse and keyboard input on a desktop shown on a real display, as an
// event filter on the application: every press, release, move, drag, scroll
// and key that lands on the desktop's windows or on Vesk's listed windows is
// posted through the simulated event system first, in the model's coordinates
// (a real window's global position is its top-left position in the model), so
// that taps and monitors see it as on the platform. What passes them goes
// where the model sends it: to another application, which the event system
// has already handled (activation, title bar, Space shortcuts), or to Vesk's
// window as the normal Qt event. After a press, the rest of the click or drag
// goes where the press went, and Qt's synthesised double click follows the
// press. Input on real windows the model does not list (menus, tooltips)
// passes untouched.
//
// Keys: Ctrl is the platform's Control, Alt its Option, the Super (Meta) key
// its Command.
class RealInputRouter final : public QObject {
    Q_OBJECT

public:
    // `desktopWindowAt` gives the desktop window over a top-left point, and
    // `isDesktopWindow` tells the desktop's windows from others.
    RealInputRouter(SimulatedDesktop& desktop, std::function<QWindow*(const QPointF&)> desktopWindowAt,
                    std::function<bool(const QWindow*)> isDesktopWindow);

    static std::uint64_t eventFlags(Qt::KeyboardModifiers modifiers);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Where a press went, for the rest of its click or drag.
    struct Grab {
        QPointer<QWindow> window; // Vesk's window; null: another application, or swallowed
    };
    struct KeyDecision {
        int key;
        quint64 timestamp;
        bool passes;
    };

    bool routes(const QWindow* window) const;
    bool handleMouse(QWindow* receiver, QMouseEvent* event);
    bool handlePress(QWindow* receiver, QMouseEvent* event, const EventOutcome& outcome);
    bool handleWheel(QWindow* receiver, QWheelEvent* event);
    bool handleKey(QWindow* receiver, QKeyEvent* event);
    bool handleShortcutOverride(QKeyEvent* event);
    // Whether the key goes to Vesk.
    bool postKey(QKeyEvent* event);
    QWindow* ownHandle(const EventOutcome& outcome) const;
    QWindow* veskKeyWindow() const;
    bool forward(QWindow* target, QEvent* event);
    bool forwardMouse(QWindow* target, QMouseEvent* event);

    SimulatedDesktop& desktop_;
    std::function<QWindow*(const QPointF&)> desktopWindowAt_;
    std::function<bool(const QWindow*)> isDesktopWindow_;
    std::optional<Grab> grab_;
    std::optional<KeyDecision> lastKey_;
    bool forwarding_ = false;
};

} // namespace vesk::platform
