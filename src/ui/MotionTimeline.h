#pragma once

#include "core/MainQueueTimer.h"

#include <QObject>

class QWidget;

namespace vesk {

class ReducedMotion;
class Scheduler;

// The timeline of a view's decorative motion: it repaints the view every
// `interval` seconds while the view is shown and motion is not reduced, and
// once more when reduced motion turns on or off, so that the view can show
// its still pose. The view reads the clock when it paints. A view keeps it
// as a member.
class MotionTimeline final : public QObject {
    Q_OBJECT

public:
    MotionTimeline(Scheduler& scheduler, const ReducedMotion& reducedMotion, double interval, QWidget& view);

    bool isRunning() const { return timer_.isRunning(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    QWidget& view_;
    const ReducedMotion& reducedMotion_;
    MainQueueTimer timer_;
};

} // namespace vesk
