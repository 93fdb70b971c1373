#pragma once

#include "core/Geometry.h"
#include "platform/ScreenProviding.h"

#include <QString>

#include <optional>
#include <vector>

namespace vesk {

// A snapshot of the displays with both frames of each: the bottom-left (Cocoa)
// frame the application framework uses and the top-left (Quartz) frame the
// window list uses. Conversions always map one display's Quartz frame onto the
// same display's Cocoa frame; there is no single global flip height, so
// displays of different heights and offsets convert correctly.
class DisplayGeometry {
public:
    struct DisplayFrame {
        Rect cocoaFrame;
        Rect quartzFrame;

        bool operator==(const DisplayFrame&) const = default;
    };

    // No displays; both unions are the null rect.
    DisplayGeometry() = default;
    // Keeps, in order, the frames whose two rects both have a positive size.
    explicit DisplayGeometry(std::vector<DisplayFrame> displayFrames);
    // Cocoa frames only: the Quartz frames are derived by flipping at the top
    // edge of the union of all usable frames.
    static DisplayGeometry fromScreenFrames(const std::vector<Rect>& cocoaFrames);
    // The current displays, with each display's Quartz frame taken from the
    // system's display bounds when it has an identifier and usable bounds.
    // Absent when no screen has a positive size.
    static std::optional<DisplayGeometry> current(const platform::ScreenProviding& screens);

    const std::vector<DisplayFrame>& displayFrames() const { return displayFrames_; }
    const std::vector<Rect>& screenFrames() const { return screenFrames_; }
    const Rect& globalFrame() const { return globalFrame_; }
    const Rect& quartzGlobalFrame() const { return quartzGlobalFrame_; }
    bool isEmpty() const { return displayFrames_.empty(); }

    // The display whose frame overlaps the rect most; ties and no overlap go to
    // the earlier (first) display; all zeros with no displays.
    DisplayFrame displayFrameForQuartzRect(const Rect& quartzRect) const;
    DisplayFrame displayFrameForCocoaRect(const Rect& cocoaRect) const;
    // The rect cut at display borders, one Cocoa piece per display it covers
    // by at least one point in each direction, in display order.
    std::vector<Rect> cocoaRectsForQuartzRect(const Rect& quartzRect) const;
    // The same into `pieces`, which keeps its storage.
    void cocoaRectsForQuartzRect(const Rect& quartzRect, std::vector<Rect>& pieces) const;
    // Through the display that contains the point, else the nearest one.
    Point cocoaPointFromQuartz(Point quartzPoint) const;
    DisplayFrame nearestDisplayFrameToQuartzPoint(Point quartzPoint) const;
    // Sized like one display, like the whole desktop, or spanning the whole
    // desktop height, each within the tolerance (Quartz frames).
    bool matchesDisplay(const Rect& quartzRect, double tolerance) const;
    // matchesDisplay within 32 points.
    bool isFullDisplayRect(const Rect& quartzRect) const;
    // "cocoa={{…}}, quartz={{…}}" per display, joined with "; ".
    QString description() const;

    // A whole rect converted through one display's frames.
    static Rect cocoaRect(const Rect& quartzRect, const DisplayFrame& display);
    static Rect quartzRect(const Rect& cocoaRect, const DisplayFrame& display);

    bool operator==(const DisplayGeometry&) const = default;

private:
    std::vector<DisplayFrame> displayFrames_;
    std::vector<Rect> screenFrames_;
    Rect globalFrame_ = Rect::null();
    Rect quartzGlobalFrame_ = Rect::null();
};

// Each of minX, minY, width and height differs by at most the tolerance.
bool rectsApproximatelyEqual(const Rect& a, const Rect& b, double tolerance);

// Area of the overlap of two rects; 0 when they do not overlap.
double intersectionArea(const Rect& a, const Rect& b);

} // namespace vesk
