#pragma once

#include "platform/Identifiers.h"
#include "platform/simulated/EventOutcome.h"

#include <QPointF>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <optional>

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

// Clicks one of Vesk's own controls by what it shows: the front-most visible
// control of Vesk's listed windows and panels whose text, placeholder, tooltip
// or accessible name equals the text. The click goes through the desktop's
// event system like any other, so during a session the mouse blocker decides;
// only a click the desktop delivers to the control's window reaches the control.
class TextControlClicker {
public:
    struct Target {
        QPointer<QWidget> control;
        platform::WindowNumber window = 0;
        // The control's centre, top-left global coordinates.
        QPointF quartzPoint;
    };

    explicit TextControlClicker(platform::SimulatedDesktop& desktop) : desktop_(desktop) { }

    // None when no visible control shows the text.
    std::optional<Target> find(const QString& text) const;
    platform::EventOutcome click(const Target& target) const;

    // Whether the widget shows the text or names itself by it.
    static bool showsText(const QWidget& widget, const QString& text);

private:
    std::optional<Target> findInWindow(QWidget& window, platform::WindowNumber number, const QString& text) const;

    platform::SimulatedDesktop& desktop_;
};

} // namespace vesk
