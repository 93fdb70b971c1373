#pragma once

#include "ui/GalaxyBackdropStar.h"
#include "ui/MotionTimeline.h"
#include "ui/WormveskStyle.h"

#include <QWidget>

#include <vector>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;

// The setup screen's animated background: the theme's window gradient, a
// faint two-part nebula and a seeded field of twinkling stars (a few glowing,
// the rarest with a cross-shaped sparkle), on a 1/24 s timeline. Under
// reduced motion the timeline stops and every star shows at its brightest.
// It takes no mouse input. A new style makes a new star field.
class GalaxyBackdropView final : public QWidget {
    Q_OBJECT

public:
    // The timeline's interval: at most 24 updates a second.
    static constexpr double frameInterval = 1.0 / 24;

    GalaxyBackdropView(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion,
                       WormveskStyle style, int starCount, double topInset, QWidget* parent = nullptr);

    WormveskStyle style() const { return style_; }
    void setStyle(WormveskStyle style);
    int starCount() const { return static_cast<int>(stars_.size()); }
    double topInset() const { return topInset_; }
    const std::vector<GalaxyBackdropStar>& stars() const { return stars_; }
    bool isTimelineRunning() const { return timeline_.isRunning(); }

    // Paints the backdrop into `rect` at `t` seconds since the reference date.
    static void paint(QPainter& painter, const QRectF& rect, const std::vector<GalaxyBackdropStar>& stars,
                      double topInset, double t, bool reducedMotion);
    // Where a star's centre lies in a backdrop of `size`: stars keep clear of
    // the top inset.
    static QPointF starCenter(const GalaxyBackdropStar& star, const QSizeF& size, double topInset);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    WormveskStyle style_;
    double topInset_;
    std::vector<GalaxyBackdropStar> stars_;
    MotionTimeline timeline_;
};

} // namespace vesk
