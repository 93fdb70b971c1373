#include "panels/QuickAccessAppTile.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "ui/FittedText.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/Symbol.h"
#include "ui/VeskFont.h"
#include "ui/VeskTheme.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QToolTip>

namespace vesk {

namespace {

constexpr double iconAreaWidth = 56;
constexpr double iconAreaHeight = 52;
constexpr double iconSide = 44;
constexpr double dotSide = 7;
constexpr double dotOffset = 3;
constexpr double removeSide = 14;
constexpr double removeOffset = 6;
constexpr double spacing = 4;
constexpr double hoverDuration = 0.12;
// Room above the icon area for the remove button that sticks out of it.
constexpr double topInset = removeOffset;

TextStyle nameStyle()
{
    return {.font = VeskFont::interface(10), .alignment = Qt::AlignHCenter};
}

QString tooltipFor(const QuickAccessAppDisplay& app, const Localizer& localizer)
{
    switch (app.visibility) {
    case AllowedAppVisibility::visible:
        return app.name;
    case AllowedAppVisibility::onOtherSpace:
        return localizer.translate("QuickAccessAppTile", "%1 ist auf einem anderen Schreibtisch").arg(app.name);
    case AllowedAppVisibility::occluded:
    case AllowedAppVisibility::minimized:
    case AllowedAppVisibility::notRunning:
        break;
    }
    return localizer.translate("QuickAccessAppTile", "%1 öffnen").arg(app.name);
}

} // namespace

QuickAccessAppTile::QuickAccessAppTile(QuickAccessAppDisplay app, bool canRemove, Actions actions, Scheduler& scheduler,
                                       const Clock& clock, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , app_(std::move(app))
    , canRemove_(canRemove)
    , actions_(std::move(actions))
    , scheduler_(scheduler)
    , clock_(clock)
    , tooltip_(tooltipFor(app_, localizer))
    , removeTooltip_(localizer.translate("QuickAccessAppTile", "Aus Vesk entfernen"))
{
    setAttribute(Qt::WA_Hover);
    setAccessibleName(tooltip_);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QColor QuickAccessAppTile::dotColor(AllowedAppVisibility visibility)
{
    const VeskTheme& theme = VeskTheme::shared();
    switch (visibility) {
    case AllowedAppVisibility::visible:
        return rgb(52, 199, 89);
    case AllowedAppVisibility::occluded:
        return theme.accent;
    case AllowedAppVisibility::minimized:
        return rgb(255, 189, 46);
    case AllowedAppVisibility::onOtherSpace:
        return rgb(100, 210, 255);
    case AllowedAppVisibility::notRunning:
        return theme.textDim;
    }
    return {};
}

QSize QuickAccessAppTile::sizeHint() const
{
    const double nameHeight = FittedText::fit(app_.name, nameStyle(), 0).size.height();
    return {static_cast<int>(iconAreaWidth),
            static_cast<int>(std::ceil(topInset + iconAreaHeight + spacing + nameHeight))};
}

QSize QuickAccessAppTile::minimumSizeHint() const
{
    return {10, sizeHint().height()};
}

QRectF QuickAccessAppTile::iconAreaRect() const
{
    return {(width() - iconAreaWidth) / 2, topInset, iconAreaWidth, iconAreaHeight};
}

QRectF QuickAccessAppTile::removeButtonRect() const
{
    const QRectF area = iconAreaRect();
    return {area.right() - removeSide + removeOffset, area.top() - removeOffset, removeSide, removeSide};
}

void QuickAccessAppTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);

    const QRectF area = iconAreaRect();
    const QRectF icon(area.right() - iconSide, area.top(), iconSide, iconSide);
    painter.save();
    painter.setClipPath(continuousRoundedRect(icon, 10));
    painter.drawImage(icon, app_.icon);
    painter.restore();

    const QRectF dot(icon.right() - dotSide + dotOffset, icon.bottom() - dotSide + dotOffset, dotSide, dotSide);
    painter.fillPath(ellipse(dot.center(), dotSide, dotSide), dotColor(app_.visibility));
    painter.strokePath(ellipse(dot.center(), dotSide, dotSide), strokePen(rgb(0, 0, 0, 0.75), 1));

    const double shown = removeButton_.valueAt(clock_.now());
    if (shown > 0) {
        const QRectF button = removeButtonRect();
        painter.save();
        painter.setOpacity(shown);
        painter.translate(button.center());
        const double scale = 0.7 + 0.3 * shown;
        painter.scale(scale, scale);
        const QRectF box(-removeSide / 2, -removeSide / 2, removeSide, removeSide);
        painter.fillPath(ellipse({0, 0}, removeSide, removeSide), rgb(0, 0, 0, 0.75));
        paintSymbol(painter, Symbol::xmarkCircleFill, box, Qt::white);
        painter.restore();
    }

    const QRectF name(0, area.bottom() + spacing, width(), height() - area.bottom() - spacing);
    FittedText::fit(app_.name, nameStyle(), width()).paint(painter, name, VeskTheme::shared().textSecondary);
}

void QuickAccessAppTile::setHovered(bool hovered)
{
    if (hovered == hovered_)
        return;
    hovered_ = hovered;
    if (!canRemove_)
        return;
    removeButton_.animate(hovered ? 1 : 0, clock_.now(), hoverDuration, CubicBezierCurve::easeInOut());
    // Frames for the fade; the last one lands after it ends.
    for (double at = 1.0 / 60; at < hoverDuration + 1.0 / 60; at += 1.0 / 60)
        scheduler_.asyncAfter(at, [tile = QPointer<QuickAccessAppTile>(this)] {
            if (tile)
                tile->update();
        });
    update();
}

void QuickAccessAppTile::enterEvent(QEnterEvent*)
{
    setHovered(true);
}

void QuickAccessAppTile::leaveEvent(QEvent*)
{
    setHovered(false);
}

void QuickAccessAppTile::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF point = event->position();
    if (event->button() != Qt::LeftButton || !rect().contains(point.toPoint()))
        return;
    if (isRemoveButtonShown() && removeButtonRect().contains(point)) {
        if (actions_.onRemove)
            actions_.onRemove();
        return;
    }
    if (app_.visibility != AllowedAppVisibility::visible && actions_.onRestore)
        actions_.onRestore();
}

bool QuickAccessAppTile::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const bool overRemove = isRemoveButtonShown() && removeButtonRect().contains(help->pos());
        QToolTip::showText(help->globalPos(), overRemove ? removeTooltip_ : tooltip_, this);
        return true;
    }
    return QWidget::event(event);
}

} // namespace vesk
