#include "ui/MotionTimeline.h"

#include "ui/ReducedMotion.h"

#include <QEvent>
#include <QWidget>

namespace vesk {

MotionTimeline::MotionTimeline(Scheduler& scheduler, const ReducedMotion& reducedMotion, double interval, QWidget& view)
    : view_(view)
    , reducedMotion_(reducedMotion)
    , timer_(scheduler, interval, [this] { view_.update(); })
{
    view_.installEventFilter(this);
    connect(&reducedMotion_, &ReducedMotion::changed, this, [this] {
        refresh();
        view_.update();
    });
    refresh();
}

bool MotionTimeline::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &view_ && (event->type() == QEvent::Show || event->type() == QEvent::Hide))
        refresh();
    return false;
}

void MotionTimeline::refresh()
{
    if (view_.isVisible() && !reducedMotion_.isOn())
        timer_.start();
    else
        timer_.stop();
}

} // namespace vesk
