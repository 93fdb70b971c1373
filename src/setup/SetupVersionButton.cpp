#include "setup/SetupVersionButton.h"

#include "ui/ImageEffects.h"
#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"

#include <QFontMetricsF>
#include <QPainter>

#include <cmath>

namespace vesk {

namespace {

constexpr double dotSide = 6;
constexpr double dotSpacing = 5;
constexpr double glowRadius = 3;

QFont versionFont()
{
    return VeskFont::monospaced(10.5, QFont::Medium);
}

} // namespace

SetupVersionButton::SetupVersionButton(const QString& version, const Localizer& localizer, QWidget* parent)
    : QAbstractButton(parent)
    , localizer_(localizer)
{
    // The version is shown as it is, never looked up.
    setText(version);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setUpdateWaiting(false);
}

void SetupVersionButton::setUpdateWaiting(bool waiting)
{
    updateWaiting_ = waiting;
    setToolTip(waiting ? localizer_.translate("SessionSetupView", "Update verfügbar")
                       : localizer_.translate("SessionSetupView", "Version"));
    updateGeometry();
    update();
}

QSize SetupVersionButton::sizeHint() const
{
    const QFontMetricsF metrics(versionFont());
    double width = metrics.horizontalAdvance(text());
    if (updateWaiting_)
        width += dotSpacing + dotSide + 2 * glowRadius;
    return {static_cast<int>(std::ceil(width)), static_cast<int>(std::ceil(metrics.height()))};
}

void SetupVersionButton::paintEvent(QPaintEvent*)
{
    const VeskTheme& theme = VeskTheme::shared();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setFont(versionFont());
    painter.setPen(theme.textDim);
    const QFontMetricsF metrics(versionFont());
    const double textWidth = metrics.horizontalAdvance(text());
    painter.drawText(QRectF(0, 0, textWidth, height()), Qt::AlignLeft | Qt::AlignVCenter, text());
    if (!updateWaiting_)
        return;
    const QRectF dot(textWidth + dotSpacing, (height() - dotSide) / 2, dotSide, dotSide);
    paintLayer(painter, dot, LayerEffects::shadowed(Shadow{theme.accent, glowRadius, {}}), [&](QPainter& layer) {
        layer.setRenderHint(QPainter::Antialiasing);
        layer.setPen(Qt::NoPen);
        layer.setBrush(theme.accent);
        layer.drawEllipse(dot);
    });
}

} // namespace vesk
