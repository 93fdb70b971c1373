#include "ui/GalaxyBackdropView.h"

#include "core/Clock.h"
#include "ui/AnimatedValue.h"
#include "ui/ImageEffects.h"
#include "ui/ReducedMotion.h"
#include "ui/Shapes.h"
#include "ui/VeskTheme.h"

#include <QPainter>

#include <algorithm>

namespace vesk {

namespace {

void paintNebula(QPainter& painter, const QRectF& area)
{
    const QColor accent = VeskTheme::shared().accent;
    const auto glow = [&](double opacity) {
        return std::vector<GradientStop>{{0, withOpacity(accent, opacity)}, {1, withOpacity(accent, 0)}};
    };
    painter.fillRect(area, RadialGradient{glow(0.05), {0.5, 0.5}, 0, 420}.in(area));
    painter.fillRect(area, RadialGradient{glow(0.04), {0.5, 0.48}, 0, 300}.in(area));
}

// The cross-shaped sparkle of a jewel star: two thin bars fading out to both ends.
void paintSparkle(QPainter& painter, const QPointF& center, const QColor& color)
{
    const std::vector<GradientStop> stops{{0, Qt::transparent}, {0.5, withOpacity(color, 0.55)}, {1, Qt::transparent}};
    const QRectF horizontal(center - QPointF(7, 0.5), QSizeF(14, 1));
    const QRectF vertical(center - QPointF(0.5, 7), QSizeF(1, 14));
    painter.fillRect(horizontal, LinearGradient{stops, {0, 0.5}, {1, 0.5}}.in(horizontal));
    painter.fillRect(vertical, LinearGradient{stops, {0.5, 0}, {0.5, 1}}.in(vertical));
}

void paintStar(QPainter& painter, const GalaxyBackdropStar& star, const QPointF& center, double opacity)
{
    const QPainterPath disc = ellipse(center, star.size, star.size);
    const QColor discColor = withOpacity(star.color, star.color.alphaF() * opacity);
    if (star.glowRadius > 0) {
        const Shadow glow{star.glowColor, star.glowRadius, {}};
        paintLayer(painter, disc.boundingRect(), LayerEffects::shadowed(glow),
                   [&](QPainter& layer) { layer.fillPath(disc, discColor); });
    } else {
        painter.fillPath(disc, discColor);
    }
    if (star.isJewel) {
        painter.save();
        painter.setOpacity(painter.opacity() * 0.72 * opacity);
        paintSparkle(painter, center, star.color);
        painter.restore();
    }
}

} // namespace

GalaxyBackdropView::GalaxyBackdropView(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion,
                                       WormveskStyle style, int starCount, double topInset, QWidget* parent)
    : QWidget(parent)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , style_(style)
    , topInset_(topInset)
    , stars_(makeGalaxyStars(style, starCount))
    , timeline_(scheduler, reducedMotion, frameInterval, *this)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void GalaxyBackdropView::setStyle(WormveskStyle style)
{
    if (style == style_)
        return;
    style_ = style;
    stars_ = makeGalaxyStars(style, starCount());
    update();
}

QPointF GalaxyBackdropView::starCenter(const GalaxyBackdropStar& star, const QSizeF& size, double topInset)
{
    return {star.x * size.width(), topInset + star.y * std::max(size.height() - topInset, 0.0)};
}

void GalaxyBackdropView::paint(QPainter& painter, const QRectF& rect, const std::vector<GalaxyBackdropStar>& stars,
                               double topInset, double t, bool reducedMotion)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect, VeskTheme::shared().windowGradient.in(rect));
    paintNebula(painter, rect.adjusted(0, std::min(topInset, rect.height()), 0, 0));
    painter.setClipRect(rect, Qt::IntersectClip);
    for (const GalaxyBackdropStar& star : stars) {
        const double opacity = reducedMotion ? star.maxOpacity : star.opacityAt(t);
        paintStar(painter, star, rect.topLeft() + starCenter(star, rect.size(), topInset), opacity);
    }
    painter.restore();
}

void GalaxyBackdropView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, rect(), stars_, topInset_, secondsSinceReferenceDate(clock_.now()), reducedMotion_.isOn());
}

} // namespace vesk
