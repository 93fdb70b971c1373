#pragma once

#include "core/Geometry.h"
#include "logging/VeskLogger.h"
#include "overlay/OwnWindowRegistration.h"
#include "platform/ScreenProviding.h"

#include <QWidget>

#include <vector>

namespace vesk {

class OverlayContentView;

// The black panel that covers one display above nearly every other window,
// with transparent holes over the allowed windows. It ignores the mouse:
// clicks through a hole reach the window below, and the click blocker stops
// the others.
class OverlayPanel : public QWidget {
    Q_OBJECT
public:
    // `quartzFrame` is the same display in the top-left system, where the
    // panel is placed on the desktop.
    OverlayPanel(const platform::ScreenInfo& screen, const Rect& quartzFrame, const platform::ScreenProviding& screens,
                 platform::OwnWindowRegistering* ownWindows);
    ~OverlayPanel() override;

    // One level above the shielding level.
    static int windowLevel();

    const Rect& cocoaFrame() const { return cocoaFrame_; }
    OverlayContentView* contentView() const;
    const std::vector<Rect>& passthroughRects() const { return passthroughRects_; }
    // Writes the holes to the panel and its view and repaints at once.
    void setPassthroughRects(const std::vector<Rect>& rects);

    // Brings the panel in front without activating the application.
    void orderFrontRegardless();
    void orderOut();
    // Orders the panel in and logs it with its display's name.
    void showOnScreen();

    const VeskLogger& logger() const { return logger_; }
    // The panel's number in the desktop's window list once it was ordered in.
    std::optional<quint32> windowNumber() const { return registration_.windowNumber(); }

private:
    void cutHolesOutOfShape();

    VeskLogger logger_{QStringLiteral("OverlayPanel")};
    std::vector<Rect> passthroughRects_;
    bool hasShape_ = false; // the holes have been cut out of the shape once
    Rect cocoaFrame_;
    const platform::ScreenProviding& screens_;
    OwnWindowRegistration registration_;
    OverlayContentView* contentView_ = nullptr;
};

} // namespace vesk
