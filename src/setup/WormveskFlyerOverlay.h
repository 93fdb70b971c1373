#pragma once

#include "ui/WormveskStyle.h"

#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QWidget>

#include <map>
#include <vector>

namespace vesk {

class Clock;
class WormveskAnimator;

// One application that flies: its bundle identifier and icon.
struct FlyerApp {
    QString bundleID;
    QPixmap icon;
};

// What the flyer overlay draws: the style, the selected applications in grid
// order, their tile icon frames and the logo centre (setup root coordinates)
// and each application's flight progress.
struct FlyerScene {
    WormveskStyle style = WormveskStyle::cosmic;
    std::vector<FlyerApp> apps;
    std::map<QString, QRectF> iconFrames;
    QPointF logoCenter;
    std::map<QString, double> progress;
};

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
