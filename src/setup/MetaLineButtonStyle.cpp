#include "setup/MetaLineButtonStyle.h"

namespace vesk {

namespace {

QColor mixed(const QColor& from, const QColor& to, double progress)
{
    const auto channel = [progress](double a, double b) { return a + (b - a) * progress; };
    return QColor::fromRgbF(static_cast<float>(channel(from.redF(), to.redF())),
                            static_cast<float>(channel(from.greenF(), to.greenF())),
                            static_cast<float>(channel(from.blueF(), to.blueF())),
                            static_cast<float>(channel(from.alphaF(), to.alphaF())));
}

} // namespace

void MetaLineButtonStyle::setHovered(bool hovered, const QDateTime& now)
{
    if (hovered == isHovered_)
        return;
    isHovered_ = hovered;
    progress_.animate(hovered ? 1 : 0, now, hoverSeconds, CubicBezierCurve::easeInOut());
}

QColor MetaLineButtonStyle::labelColor(const QDateTime& now, const VeskTheme& theme) const
{
    return mixed(theme.textSecondary, theme.textPrimary, progress_.valueAt(now));
}

} // namespace vesk
