#include "update/UpdateProgressBar.h"

#include "ui/Shapes.h"

#include <QLinearGradient>
#include <QPainter>

#include <algorithm>

namespace vesk {

UpdateProgressBar::UpdateProgressBar(const VeskTheme& theme, QWidget* parent) : QWidget(parent), theme_(theme)
{
    setFixedHeight(barHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void UpdateProgressBar::setProgress(double progress)
{
    if (progress_ == progress)
        return;
    progress_ = progress;
    update();
}

double UpdateProgressBar::fillWidth() const
{
    const double fill = width() * progress_;
    if (!(fill >= 0))
        return 0;
    return std::min(fill, static_cast<double>(width()));
}

void UpdateProgressBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track(rect());
    painter.fillPath(continuousRoundedRect(track, 5), theme_.insetStrong);
    const double fill = fillWidth();
    if (fill <= 0)
        return;
    const QRectF filled(0, 0, fill, track.height());
    QLinearGradient gradient(filled.topLeft(), filled.topRight());
    gradient.setColorAt(0, theme_.accentDeep);
    gradient.setColorAt(1, theme_.accent);
    painter.fillPath(continuousRoundedRect(filled, 5), gradient);
}

} // namespace vesk
