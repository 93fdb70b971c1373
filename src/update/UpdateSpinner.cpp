#include "update/UpdateSpinner.h"

#include "core/Clock.h"
#include "ui/AnimatedValue.h"
#include "ui/ReducedMotion.h"

#include <QPainter>

#include <cmath>

namespace vesk {

namespace {

constexpr int spokeCount = 8;

} // namespace

UpdateSpinner::UpdateSpinner(const Clock& clock, Scheduler& scheduler, const ReducedMotion& reducedMotion, QColor color,
                             QWidget* parent)
    : QWidget(parent)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , color_(std::move(color))
    , timeline_(scheduler, reducedMotion, 1.0 / spokeCount, *this)
{
    setFixedSize(side, side);
}

void UpdateSpinner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const double seconds = reducedMotion_.isOn() ? 0 : secondsSinceReferenceDate(clock_.now());
    const int leading = static_cast<int>(std::floor(std::fmod(seconds, 1.0) * spokeCount));
    QPen pen(color_, 1.8, Qt::SolidLine, Qt::RoundCap);
    for (int spoke = 0; spoke < spokeCount; ++spoke) {
        // The leading spoke is brightest; the ones behind it fade.
        const int behind = (leading - spoke + spokeCount) % spokeCount;
        QColor color = color_;
        color.setAlphaF(color_.alphaF() * (1.0 - 0.8 * behind / (spokeCount - 1)));
        pen.setColor(color);
        painter.setPen(pen);
        painter.save();
        painter.rotate(360.0 * spoke / spokeCount);
        painter.drawLine(QPointF(0, -side / 2.0 + 1.5), QPointF(0, -side / 4.0));
        painter.restore();
    }
}

} // namespace vesk
