#include "setup/WormveskFlyerOverlay.h"

#include "core/Clock.h"
#include "setup/FlyerPose.h"
#include "setup/WormveskAnimator.h"
#include "ui/Gradient.h"
#include "ui/ImageEffects.h"
#include "ui/Shapes.h"
#include "ui/VeskTheme.h"

#include <QPainter>

namespace vesk {

namespace {

constexpr double iconCornerRadius = 5;

void paintFlyer(QPainter& painter, const FlyerApp& app, const QRectF& tile, const FlyerPose& pose)
{
    const QRectF box(QPointF(-tile.width() / 2, -tile.height() / 2), tile.size());
    LayerEffects effects;
    effects.opacity = pose.opacity;
    effects.shadow = Shadow{withOpacity(VeskTheme::shared().accent, pose.shadowOpacity), pose.shadowRadius, {}};

    painter.save();
    painter.translate(pose.center);
    painter.rotate(pose.rotationDegrees);
    painter.scale(pose.scale, pose.scale);
    paintLayer(painter, box, effects, [&](QPainter& layer) {
        layer.setRenderHint(QPainter::SmoothPixmapTransform);
        layer.setRenderHint(QPainter::Antialiasing);
        layer.setClipPath(continuousRoundedRect(box, iconCornerRadius));
        layer.drawPixmap(box, app.icon, app.icon.rect());
    });
    painter.restore();
}

} // namespace

WormveskFlyerOverlay::WormveskFlyerOverlay(const WormveskAnimator& animator, const Clock& clock, QWidget* parent)
    : QWidget(parent)
    , animator_(animator)
    , clock_(clock)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    connect(&animator, &WormveskAnimator::changed, this, qOverload<>(&QWidget::update));
}

void WormveskFlyerOverlay::setScene(const FlyerScene& scene)
{
    scene_ = scene;
    update();
}

void WormveskFlyerOverlay::paint(QPainter& painter, const FlyerScene& scene)
{
    for (size_t i = 0; i < scene.apps.size(); ++i) {
        const FlyerApp& app = scene.apps[i];
        const auto frame = scene.iconFrames.find(app.bundleID);
        if (frame == scene.iconFrames.end()) {
            continue;
        }
        const auto progress = scene.progress.find(app.bundleID);
        const double p = progress == scene.progress.end() ? 0.0 : progress->second;
        paintFlyer(painter, app, frame->second,
                   flyerPose(scene.style, static_cast<int>(i), frame->second, scene.logoCenter, p));
    }
}

void WormveskFlyerOverlay::paintEvent(QPaintEvent*)
{
    FlyerScene scene = scene_;
    scene.progress = animator_.flyerProgressAt(clock_.now());
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, scene);
}

} // namespace vesk
