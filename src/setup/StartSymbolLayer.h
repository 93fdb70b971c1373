#pragma once

#include "ui/MotionTimeline.h"

#include <QPointer>
#include <QWidget>

namespace vesk {

class Clock;
class ReducedMotion;
class Scheduler;
class SessionSetupModel;
class StartControl;

// The start symbol and its words "ENTER VESK", painted over the whole setup
// root at the start control's place, so that the symbol can grow to eight
// times its size while it warps without being cut at the control's edges.
// The symbol follows the start animator (scale about its centre, brightness
// offset, opacity, a blur while warping); symbol and words are drawn at 0.4
// while the start is not ready. While a reflection is pending it is dimmed
// and blurred like the rest of the setup content. It takes no input: clicks
// reach the control underneath.
class StartSymbolLayer final : public QWidget {
    Q_OBJECT

public:
    static constexpr double warpBlurRadius = 1.4;

    StartSymbolLayer(SessionSetupModel& model, const Clock& clock, Scheduler& scheduler,
                     const ReducedMotion& reducedMotion, QWidget* parent);

    void setControl(StartControl* control);
    // Dims and blurs the layer as the setup content behind a reflection card.
    void setContentDimmed(bool dimmed);
    // The symbol's centre in this layer's coordinates.
    QPointF symbolCenter() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintSymbol(QPainter& painter, const QRectF& square, double opacity);
    void paintTitle(QPainter& painter, const QRectF& square, double opacity);

    SessionSetupModel& model_;
    const Clock& clock_;
    const ReducedMotion& reducedMotion_;
    QPointer<StartControl> control_;
    bool contentDimmed_ = false;
    MotionTimeline timeline_;
};

} // namespace vesk
