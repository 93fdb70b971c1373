#include "ui/WormveskSymbol.h"

#include "core/Clock.h"
#include "ui/AnimatedValue.h"
#include "ui/ImageEffects.h"
#include "ui/LongitudeSpokes.h"
#include "ui/ReducedMotion.h"
#include "ui/Shapes.h"
#include "ui/VeskTheme.h"
#include "ui/WormveskStar.h"
#include "ui/WormveskSymbolTheme.h"

#include <QPainter>

#include <array>
#include <cmath>

namespace vesk {

namespace {

// Everything is laid out on this canvas and scaled to the symbol's size.
constexpr double canvas = 480;
const QPointF center(canvas / 2, canvas / 2);

// Semi-axes of the latitude rings, outermost first.
constexpr std::array<std::pair<double, double>, 7> latitudeRings{
    {{215, 119}, {190, 105}, {165, 91}, {140, 77}, {115, 63}, {92, 51}, {73, 40}}};

QRectF frame(double width, double height, const QPointF& offset = {})
{
    return QRectF(center + offset - QPointF(width / 2, height / 2), QSizeF(width, height));
}

// Scales the painter by `factor` about the canvas centre.
void scaleAboutCenter(QPainter& painter, double factorX, double factorY)
{
    painter.translate(center);
    painter.scale(factorX, factorY);
    painter.translate(-center);
}

const std::vector<WormveskStar>& symbolStars()
{
    static const std::vector<WormveskStar> stars = makeWormveskStars(WormveskSymbolTheme::shared().starSeed, 75);
    return stars;
}

void paintHalo(QPainter& painter, const WormveskSymbolTheme& theme)
{
    const RadialGradient halo{WormveskSymbolTheme::gradientStops(theme.halo), {0.5, 0.5}, 0, 240};
    painter.fillPath(ellipse(center, canvas, canvas), halo.in(frame(canvas, canvas)));
}

void paintBowl(QPainter& painter, const WormveskSymbolTheme& theme)
{
    const RadialGradient bowl{WormveskSymbolTheme::gradientStops(theme.bowl), {0.5, 0.5}, 0, 222};
    painter.fillPath(ellipse(center, 444, 246), bowl.in(frame(444, 246)));

    const LinearGradient brightening{WormveskSymbolTheme::gradientStops(theme.brightening), {0, 0.5}, {1, 0.5}};
    painter.save();
    painter.setOpacity(painter.opacity() * 0.75);
    painter.fillPath(ellipse(center, 424, 234), brightening.in(frame(424, 234)));
    painter.restore();
}

void paintGrid(QPainter& painter, const WormveskSymbolTheme& theme)
{
    for (const auto& [horizontal, vertical] : latitudeRings)
        painter.strokePath(ellipse(center, 2 * horizontal, 2 * vertical), strokePen(theme.latitudeStroke, 0.7));
    painter.strokePath(LongitudeSpokes::path(frame(canvas, canvas)), strokePen(theme.longitudeStroke, 0.6));
}

void paintAccentRings(QPainter& painter, const WormveskSymbolTheme& theme, const WormveskSymbolMotion& motion)
{
    painter.save();
    scaleAboutCenter(painter, motion.pulseScale(), motion.pulseScale());
    painter.setOpacity(painter.opacity() * motion.accentRingOpacity());
    painter.strokePath(ellipse(center, 160, 88), strokePen(theme.accentRingPrimary, 2.2));
    painter.strokePath(ellipse(center, 144, 80), strokePen(theme.accentRingSecondary, 1.1));
    painter.strokePath(ellipse(center, 124, 70), strokePen(withOpacity(theme.accentRingHighlight, 0.8), 0.7));
    painter.restore();
}

void paintThroatAndRim(QPainter& painter, const WormveskSymbolTheme& theme)
{
    painter.fillPath(ellipse(center + QPointF(6, 4), 116, 64), Qt::black);
    const LinearGradient rim{WormveskSymbolTheme::gradientStops(theme.rim), {0, 0}, {1, 1}};
    painter.strokePath(ellipse(center, 444, 246), strokePen(rim.in(frame(444, 246)), 1.4));
}

void paintHotSpot(QPainter& painter, const WormveskSymbolTheme& theme, const WormveskSymbolMotion& motion)
{
    const QPointF spot = center + QPointF(-65, 34);
    painter.save();
    scaleAboutCenter(painter, motion.pulseScale(), motion.pulseScale());
    paintLayer(painter, frame(28, 28, {-65, 34}), LayerEffects::blurred(5),
               [&](QPainter& layer) { layer.fillPath(ellipse(spot, 28, 28), withOpacity(theme.hotSpotOuter, 0.55)); });
    painter.fillPath(ellipse(spot, 8, 8), theme.hotSpotInner);
    painter.restore();
}

void paintStars(QPainter& painter)
{
    for (const WormveskStar& star : symbolStars())
        painter.fillPath(ellipse(center + QPointF(star.x, star.y), 2 * star.radius, 2 * star.radius),
                         withOpacity(Qt::white, star.opacity));
}

// The 480-point canvas at one pose.
void paintCanvas(QPainter& painter, const WormveskSymbolMotion& motion)
{
    const WormveskSymbolTheme& theme = WormveskSymbolTheme::shared();
    paintHalo(painter, theme);

    // The core: squashed by the breathing, then tilted, both about the centre.
    painter.save();
    painter.translate(center);
    painter.rotate(motion.tilt);
    painter.scale(1, motion.breathe);
    painter.translate(-center);
    paintBowl(painter, theme);
    paintGrid(painter, theme);
    paintAccentRings(painter, theme, motion);
    paintThroatAndRim(painter, theme);
    paintHotSpot(painter, theme, motion);
    paintStars(painter);
    painter.restore();
}

} // namespace

WormveskSymbol::WormveskSymbol(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion,
                               WormveskStyle style, double symbolSize, bool isReady, QWidget* parent)
    : QWidget(parent)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , style_(style)
    , symbolSize_(symbolSize)
    , isReady_(isReady)
    , timeline_(scheduler, reducedMotion, frameInterval, *this)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void WormveskSymbol::setSymbolSize(double size)
{
    if (size == symbolSize_)
        return;
    symbolSize_ = size;
    updateGeometry();
    update();
}

void WormveskSymbol::setReady(bool ready)
{
    if (ready == isReady_)
        return;
    isReady_ = ready;
    update();
}

WormveskSymbolMotion WormveskSymbol::currentMotion() const
{
    if (reducedMotion_.isOn())
        return WormveskSymbolMotion::still();
    return WormveskSymbolMotion::at(secondsSinceReferenceDate(clock_.now()));
}

QSize WormveskSymbol::sizeHint() const
{
    const int side = static_cast<int>(std::ceil(symbolSize_));
    return {side, side};
}

void WormveskSymbol::paint(QPainter& painter, const QRectF& square, const WormveskSymbolMotion& motion, bool isReady)
{
    const auto drawSymbol = [&](QPainter& target) {
        target.save();
        target.setRenderHint(QPainter::Antialiasing);
        target.translate(square.topLeft());
        target.scale(square.width() / canvas, square.height() / canvas);
        paintCanvas(target, motion);
        target.restore();
    };
    if (!isReady) {
        drawSymbol(painter);
        return;
    }
    const Shadow glow{withOpacity(VeskTheme::shared().accent, motion.glowOpacity()), motion.glowRadius(), {}};
    paintLayer(painter, square, LayerEffects::shadowed(glow), drawSymbol);
}

void WormveskSymbol::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRectF square(QPointF(width() - symbolSize_, height() - symbolSize_) / 2, QSizeF(symbolSize_, symbolSize_));
    paint(painter, square, currentMotion(), isReady_);
}

} // namespace vesk
