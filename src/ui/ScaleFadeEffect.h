#pragma once

#include "ui/AnimatedValue.h"

#include <QGraphicsEffect>

namespace vesk {

class Clock;

// How a view comes and goes: faded in or out and scaled about its centre
// between `hiddenScale` (gone) and 1 (shown), along an ease-out curve. It
// reads the clock when it draws, so a test draws any instant; the view
// repaints it on a frame timer while it moves and calls `settle()` on each
// frame, which turns the effect off once the view is still and shown (Qt
// then draws the view as it is).
class ScaleFadeEffect final : public QGraphicsEffect {
    Q_OBJECT

public:
    ScaleFadeEffect(const Clock& clock, double hiddenScale, QObject* parent = nullptr);

    // 0 gone, 1 shown, between them coming or going.
    double presence() const;
    double opacity() const { return presence(); }
    double scale() const;
    // Where the view is headed: shown or gone.
    bool isHeadingToShown() const { return presence_.target() > 0; }
    bool isMoving() const;

    // From where the view is now to shown or gone over `seconds`; 0 seconds
    // jumps there.
    void moveTo(bool shown, double seconds);
    void settle();

protected:
    void draw(QPainter* painter) override;

private:
    const Clock& clock_;
    double hiddenScale_;
    AnimatedValue presence_{1};
};

} // namespace vesk
