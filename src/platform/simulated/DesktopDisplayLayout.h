#pragma once

#include "platform/simulated/DesktopDisplay.h"

#include <QPointF>
#include <QRectF>

#include <optional>
#include <vector>

namespace vesk::platform {

class SimulatedDesktop;

// The displays of the simulated desktop with their Spaces, and the
// conversions between the top-left (Quartz) system of windows and events and
// the bottom-left (Cocoa) system of screens, display by display. A display
// that goes away leaves its windows on the first display.
class DesktopDisplayLayout final {
public:
    explicit DesktopDisplayLayout(SimulatedDesktop& desktop);

    int addDisplay(const DisplaySpec& spec);
    void updateDisplay(int index, const DisplaySpec& spec);
    void removeDisplay(int index);
    const std::vector<DesktopDisplay>& displays() const { return displays_; }
    // The display with Vesk's key window, else the first; none without displays.
    std::optional<int> mainDisplayIndex() const;
    std::optional<int> displayIndexForQuartzRect(const QRectF& rect) const;
    std::optional<int> displayIndexForCocoaRect(const QRectF& rect) const;
    QRectF cocoaRect(const QRectF& quartzRect) const;
    QRectF quartzRect(const QRectF& cocoaRect) const;
    QPointF cocoaPoint(const QPointF& quartzPoint) const;
    QPointF quartzPoint(const QPointF& cocoaPoint) const;

    int addSpace(int displayIndex);
    std::optional<int> displayIndexOfSpace(int spaceID) const;
    int activeSpaceID(int displayIndex) const;
    // Makes a Space the active one of its display; posts activeSpaceChanged.
    bool switchToSpace(int spaceID);
    // The Space after the active one of a display (wrapping), for swipes and shortcuts.
    bool switchToAdjacentSpace(int displayIndex, int step);

    // Displays like the machine's own screens, for a desktop without a scenario.
    void mirrorQtScreens();
    // The machine's screens as displays, the primary one first.
    static std::vector<DisplaySpec> qtScreenDisplays();

private:
    DesktopDisplay resolveDisplay(const DisplaySpec& spec) const;

    SimulatedDesktop& desktop_;
    std::vector<DesktopDisplay> displays_;
    int nextSpaceID_ = 1;
};

} // namespace vesk::platform
