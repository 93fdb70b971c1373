#pragma once

#include "core/Geometry.h"
#include "platform/OwnWindowRegistering.h"
#include "platform/OwnWindowSpec.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace vesk {

// How an overlay panel lists itself: a panel on every space that never becomes
// key, at `level`, over one display's bottom-left (Cocoa) frame.
platform::OwnWindowSpec overlayPanelWindowSpec(const QString& title, int level, const Rect& cocoaFrame,
                                               bool ignoresMouseEvents);

// Keeps one of our panels listed in the window list at its level: listed
// while ordered in, kept but not visible while ordered out, removed when the
// panel goes away. A screen capture draws the panel from the widget. Without
// a registry it does nothing.
class OwnWindowRegistration {
public:
    OwnWindowRegistration(platform::OwnWindowRegistering* ownWindows, platform::OwnWindowSpec spec, QWidget* widget);
    ~OwnWindowRegistration();
    OwnWindowRegistration(const OwnWindowRegistration&) = delete;
    OwnWindowRegistration& operator=(const OwnWindowRegistration&) = delete;

    void orderIn();
    void orderOut();
    // The panel takes the keyboard (once ordered in).
    void makeKey();
    // The panel moved or changed size (bottom-left frame).
    void setFrame(const Rect& cocoaFrame);
    // Takes the panel out of the window list before it goes; ordering it in
    // again lists it anew.
    void remove();
    std::optional<quint32> windowNumber() const { return number_; }

private:
    void publish();

    platform::OwnWindowRegistering* ownWindows_;
    platform::OwnWindowSpec spec_;
    QPointer<QWidget> widget_;
    std::optional<quint32> number_;
};

} // namespace vesk
