#pragma once

#include "setup/FlyerScene.h"

#include <QWidget>

namespace vesk {

class Clock;
class WormveskAnimator;

// The flying icons of the start animation, above the whole setup screen. It
// takes no input; it reads the animator's flight progress at the clock's now
// and repaints when the animator changes. An application whose tile frame is
// unknown draws nothing; a missing progress counts as 0 (icon on its tile).
class WormveskFlyerOverlay final : public QWidget {
    Q_OBJECT

public:
    WormveskFlyerOverlay(const WormveskAnimator& animator, const Clock& clock, QWidget* parent = nullptr);

    // The style, applications, frames and centre; the progress comes from the animator.
    void setScene(const FlyerScene& scene);

    // Draws the flyers of `scene` with `painter` in the root's coordinates.
    static void paint(QPainter& painter, const FlyerScene& scene);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const WormveskAnimator& animator_;
    const Clock& clock_;
    FlyerScene scene_;
};

} // namespace vesk
