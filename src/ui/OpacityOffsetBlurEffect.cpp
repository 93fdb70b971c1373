#include "ui/OpacityOffsetBlurEffect.h"

#include "ui/ImageEffects.h"

#include <QPainter>

namespace vesk {

OpacityOffsetBlurEffect::OpacityOffsetBlurEffect(QObject* parent) : QGraphicsEffect(parent)
{
    changed();
}

void OpacityOffsetBlurEffect::setOpacity(double opacity)
{
    if (opacity == opacity_)
        return;
    opacity_ = opacity;
    changed();
}

void OpacityOffsetBlurEffect::setOffset(const QPointF& offset)
{
    if (offset == offset_)
        return;
    offset_ = offset;
    changed();
}

void OpacityOffsetBlurEffect::setBlurRadius(double radius)
{
    if (radius == blurRadius_)
        return;
    blurRadius_ = radius;
    changed();
}

void OpacityOffsetBlurEffect::changed()
{
    // While it changes nothing the effect is off and Qt draws the widget as
    // it is (Qt's pass-through drawing misplaces widgets rendered to images).
    setEnabled(opacity_ < 1 || blurRadius_ > 0 || !offset_.isNull());
    updateBoundingRect();
    update();
}

QRectF OpacityOffsetBlurEffect::boundingRectFor(const QRectF& rect) const
{
    // The source is rendered at its own place and drawn moved: the padded
    // rectangle must hold both, with room for the blur.
    const double reach = 3 * blurRadius_;
    return rect.united(rect.translated(offset_)).adjusted(-reach, -reach, reach, reach);
}

void OpacityOffsetBlurEffect::draw(QPainter* painter)
{
    if (opacity_ <= 0)
        return;
    QPoint origin;
    const QPixmap source = sourcePixmap(Qt::DeviceCoordinates, &origin, QGraphicsEffect::PadToEffectiveBoundingRect);
    if (source.isNull())
        return;
    const double scale = painter->deviceTransform().m11();
    QImage image = source.toImage();
    gaussianBlur(image, blurRadius_ * scale);
    painter->save();
    painter->setWorldTransform(QTransform());
    painter->setOpacity(painter->opacity() * opacity_);
    painter->drawImage(QPointF(origin) + offset_ * scale, image);
    painter->restore();
}

} // namespace vesk
