#pragma once

#include "ui/MotionTimeline.h"
#include "ui/WormveskStyle.h"
#include "ui/WormveskSymbolMotion.h"

#include <QWidget>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;

// The Vesk logo: a dark, tilted, elliptical bowl in a soft halo, with latitude
// rings, longitude spokes, pulsing accent rings, a black throat, a bright rim,
// a hot spot and a sprinkle of stars. It wobbles, breathes and pulses on a
// 1/60 s timeline and, when ready, glows in the accent colour. Under reduced
// motion the timeline stops and the symbol holds its still pose.
//
// The widget paints the symbol `symbolSize` points square at its centre; its
// size hint is that square, and any room around it shows the glow. Views that
// scale or fade the symbol themselves call paint() in their own painter.
class WormveskSymbol final : public QWidget {
    Q_OBJECT

public:
    // The timeline's interval: at most 60 updates a second.
    static constexpr double frameInterval = 1.0 / 60;

    WormveskSymbol(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion, WormveskStyle style,
                   double symbolSize, bool isReady, QWidget* parent = nullptr);

    WormveskStyle style() const { return style_; }
    // The drawing is the same for both styles; the style travels with the symbol.
    void setStyle(WormveskStyle style) { style_ = style; }
    double symbolSize() const { return symbolSize_; }
    void setSymbolSize(double size);
    bool isReady() const { return isReady_; }
    void setReady(bool ready);

    // The pose the widget paints now.
    WormveskSymbolMotion currentMotion() const;
    bool isTimelineRunning() const { return timeline_.isRunning(); }

    QSize sizeHint() const override;

    // Paints the symbol into `square` (its size in points is the square's
    // width). The ready glow reaches about twice its radius (up to 44 points)
    // beyond the square.
    static void paint(QPainter& painter, const QRectF& square, const WormveskSymbolMotion& motion, bool isReady);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    WormveskStyle style_;
    double symbolSize_;
    bool isReady_;
    MotionTimeline timeline_;
};

} // namespace vesk
