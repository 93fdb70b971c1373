#include "setup/StartSymbolLayer.h"

#include "core/Clock.h"
#include "setup/SessionSetupModel.h"
#include "setup/StartControl.h"
#include "ui/AnimatedValue.h"
#include "ui/ImageEffects.h"
#include "ui/ReducedMotion.h"
#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"
#include "ui/WormveskSymbol.h"

#include <QPainter>

namespace vesk {

namespace {

// How far the ready glow reaches beyond the symbol's square, in points.
constexpr double glowReach = 44;
constexpr double notReadyOpacity = 0.4;
constexpr double dimmedOpacity = 0.32;
constexpr double dimmedBlurRadius = 1.5;

} // namespace

StartSymbolLayer::StartSymbolLayer(SessionSetupModel& model, const Clock& clock, Scheduler& scheduler,
                                   const ReducedMotion& reducedMotion, QWidget* parent)
    : QWidget(parent)
    , model_(model)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , timeline_(scheduler, reducedMotion, WormveskSymbol::frameInterval, *this)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    connect(&model_, &SessionSetupModel::changed, this, qOverload<>(&QWidget::update));
}

void StartSymbolLayer::setControl(StartControl* control)
{
    control_ = control;
    update();
}

void StartSymbolLayer::setContentDimmed(bool dimmed)
{
    contentDimmed_ = dimmed;
    update();
}

QPointF StartSymbolLayer::symbolCenter() const
{
    if (!control_ || !parentWidget())
        return {};
    // The layer and the control share the root as an ancestor.
    return mapFromParent(control_->mapTo(parentWidget(), control_->symbolSquare().center()));
}

void StartSymbolLayer::paintEvent(QPaintEvent*)
{
    if (!control_ || !control_->isVisible())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QRectF square = control_->symbolSquare();
    square.moveCenter(symbolCenter());
    const double readiness = model_.isStartReady() ? 1.0 : notReadyOpacity;
    const double opacity = readiness * (contentDimmed_ ? dimmedOpacity : 1.0);
    paintSymbol(painter, square, opacity);
    paintTitle(painter, square, opacity);
}

void StartSymbolLayer::paintSymbol(QPainter& painter, const QRectF& square, double opacity)
{
    const WormveskAnimator& animator = model_.animator();
    const QDateTime now = clock_.now();
    const double scale = animator.symbolScale().valueAt(now);
    const bool warping = animator.phase() == WormveskAnimator::Phase::warping;
    const WormveskSymbolMotion motion = reducedMotion_.isOn()
                                            ? WormveskSymbolMotion::still()
                                            : WormveskSymbolMotion::at(secondsSinceReferenceDate(now));
    LayerEffects effects;
    effects.opacity = opacity * animator.symbolOpacity().valueAt(now);
    effects.brightness = animator.symbolBrightness().valueAt(now) - 1.0;
    effects.blurRadius = (warping ? warpBlurRadius : 0.0) + (contentDimmed_ ? dimmedBlurRadius : 0.0);
    if (effects.opacity <= 0)
        return;
    const QPointF center = square.center();
    const double reach = (square.width() / 2 + glowReach) * scale;
    const QRectF bounds = QRectF(center - QPointF(reach, reach), QSizeF(2 * reach, 2 * reach)).intersected(rect());
    const bool isReady = model_.isStartReady();
    paintLayer(painter, bounds, effects, [&](QPainter& layer) {
        layer.translate(center);
        layer.scale(scale, scale);
        layer.translate(-center);
        WormveskSymbol::paint(layer, square, motion, isReady);
    });
}

void StartSymbolLayer::paintTitle(QPainter& painter, const QRectF& square, double opacity)
{
    QFont font = VeskFont::interface(13, QFont::DemiBold);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 2.6);
    painter.save();
    painter.setOpacity(opacity);
    painter.setFont(font);
    painter.setPen(VeskTheme::shared().textPrimary);
    // The tracking follows the last letter too; the words stay centred on the symbol.
    painter.drawText(square.translated(1.3, 0), Qt::AlignCenter, StartControl::title);
    painter.restore();
}

} // namespace vesk
