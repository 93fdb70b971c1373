#include "ui/ScaleFadeEffect.h"

#include "core/Clock.h"

#include <QPainter>

namespace vesk {

ScaleFadeEffect::ScaleFadeEffect(const Clock& clock, double hiddenScale, QObject* parent)
    : QGraphicsEffect(parent)
    , clock_(clock)
    , hiddenScale_(hiddenScale)
{
    setEnabled(false);
}

double ScaleFadeEffect::presence() const
{
    return presence_.valueAt(clock_.now());
}

double ScaleFadeEffect::scale() const
{
    return hiddenScale_ + (1 - hiddenScale_) * presence();
}

bool ScaleFadeEffect::isMoving() const
{
    return presence_.isAnimating(clock_.now());
}

void ScaleFadeEffect::moveTo(bool shown, double seconds)
{
    const double target = shown ? 1 : 0;
    if (seconds > 0)
        presence_.animate(target, clock_.now(), seconds, CubicBezierCurve::easeOut());
    else
        presence_.set(target);
    settle();
    update();
}

void ScaleFadeEffect::settle()
{
    // Qt's pass-through drawing misplaces widgets rendered to images, so the
    // effect is off whenever it would change nothing.
    setEnabled(isMoving() || presence() < 1);
}

void ScaleFadeEffect::draw(QPainter* painter)
{
    const double shown = presence();
    if (shown <= 0)
        return;
    QPoint origin;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &origin, QGraphicsEffect::NoPad);
    if (source.isNull())
        return;
    const QPointF centre = QRectF(origin, source.deviceIndependentSize()).center();
    const double factor = scale();
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->setOpacity(painter->opacity() * shown);
    painter->translate(centre);
    painter->scale(factor, factor);
    painter->translate(-centre);
    painter->drawPixmap(origin, source);
    painter->restore();
}

} // namespace vesk
