#include "setup/SelectedAppTile.h"

#include "core/Clock.h"
#include "core/Scheduler.h"
#include "ui/ApplicationIcon.h"
#include "ui/FittedText.h"
#include "ui/ReducedMotion.h"
#include "ui/Shapes.h"
#include "ui/Symbol.h"
#include "ui/VeskFont.h"

#include <QEnterEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <cmath>

namespace vesk {

namespace {

constexpr double framesPerSecond = 60;

TextStyle nameStyle()
{
    return {.font = VeskFont::interface(10), .alignment = Qt::AlignHCenter};
}

} // namespace

SelectedAppTile::SelectedAppTile(InstalledApp app, Scheduler& scheduler, const Clock& clock,
                                 const ReducedMotion& reducedMotion, std::function<void()> onRemove,
                                 const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , app_(std::move(app))
    , scheduler_(scheduler)
    , clock_(clock)
    , reducedMotion_(reducedMotion)
    , onRemove_(std::move(onRemove))
    , removeTooltip_(localizer.translate("SelectedAppTile", "Aus Auswahl entfernen"))
    , frames_(scheduler, 1 / framesPerSecond, [this] { frameTick(); })
{
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    setMouseTracking(true);
    setAccessibleName(app_.name);
}

void SelectedAppTile::setHiddenForSuction(bool hidden)
{
    if (hidden == isHiddenForSuction_)
        return;
    isHiddenForSuction_ = hidden;
    update();
}

void SelectedAppTile::setCoordinateRoot(const QWidget* root)
{
    root_ = root;
    emit iconFrameChanged();
}

QRectF SelectedAppTile::iconRect() const
{
    const double areaLeft = (width() - areaWidth) / 2;
    return {areaLeft + (areaWidth - iconSide) / 2, topOverhang + (areaHeight - iconSide) / 2, iconSide, iconSide};
}

QRectF SelectedAppTile::iconFrame() const
{
    const QRectF icon = iconRect();
    if (!root_ || root_ == this)
        return icon;
    return icon.translated(mapTo(root_.data(), QPoint(0, 0)));
}

QRectF SelectedAppTile::removeButtonRect() const
{
    const QRectF icon = iconRect();
    return {icon.right() - removeButtonSide + removeButtonOffset, icon.top() - removeButtonOffset, removeButtonSide,
            removeButtonSide};
}

double SelectedAppTile::swingAngle(double seconds)
{
    const double halves = std::floor(std::max(0.0, seconds) / halfSwingSeconds);
    const double eased =
        CubicBezierCurve::easeInOut().valueAt((std::max(0.0, seconds) - halves * halfSwingSeconds) / halfSwingSeconds);
    const bool outward = static_cast<long long>(halves) % 2 == 0;
    return outward ? -jiggleDegrees + 2 * jiggleDegrees * eased : jiggleDegrees - 2 * jiggleDegrees * eased;
}

double SelectedAppTile::iconAngleAt(const QDateTime& now) const
{
    if (reducedMotion_.isOn())
        return 0;
    if (isHovered_)
        return swingAngle(static_cast<double>(hoverStartedAt_.msecsTo(now)) / 1000);
    return settlingAngle_.valueAt(now);
}

void SelectedAppTile::handleHover(bool inside)
{
    if (inside == isHovered_)
        return;
    const QDateTime now = clock_.now();
    if (inside) {
        hoverStartedAt_ = now;
    } else {
        settlingAngle_.set(iconAngleAt(now));
        settlingAngle_.animate(0, now, halfSwingSeconds, CubicBezierCurve::easeOut());
    }
    isHovered_ = inside;
    buttonPresence_.animate(inside ? 1 : 0, now, hoverSeconds, CubicBezierCurve::easeInOut());
    frames_.start();
    update();
}

void SelectedAppTile::frameTick()
{
    const QDateTime now = clock_.now();
    const bool moving =
        (isHovered_ && !reducedMotion_.isOn()) || settlingAngle_.isAnimating(now) || buttonPresence_.isAnimating(now);
    if (!moving)
        frames_.stop();
    update();
}

double SelectedAppTile::nameHeight() const
{
    return FittedText::fit(QStringLiteral("Ag"), nameStyle(), 0).size.height();
}

QSize SelectedAppTile::sizeHint() const
{
    return {static_cast<int>(areaWidth), static_cast<int>(std::ceil(topOverhang + areaHeight + 4 + nameHeight()))};
}

QSize SelectedAppTile::minimumSizeHint() const
{
    return sizeHint();
}

void SelectedAppTile::paintEvent(QPaintEvent*)
{
    if (isHiddenForSuction_)
        return;
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QDateTime now = clock_.now();
    paintIcon(painter, now);
    const double presence = buttonPresence_.valueAt(now);
    if (presence > 0)
        paintRemoveButton(painter, presence);
    const QRectF name(0, topOverhang + areaHeight + 4, width(), nameHeight());
    FittedText::fit(app_.name, nameStyle(), width()).paint(painter, name, theme_.textSecondary);
}

void SelectedAppTile::paintIcon(QPainter& painter, const QDateTime& now) const
{
    const QRectF icon = iconRect();
    painter.save();
    painter.translate(icon.center());
    painter.rotate(iconAngleAt(now));
    painter.translate(-icon.center());
    painter.setClipPath(continuousRoundedRect(icon, iconCornerRadius));
    if (app_.icon.isNull())
        paintGenericApplicationIcon(painter, icon);
    else
        painter.drawImage(icon, app_.icon);
    painter.restore();
}

void SelectedAppTile::paintRemoveButton(QPainter& painter, double progress) const
{
    const QRectF button = removeButtonRect();
    painter.save();
    painter.setOpacity(progress);
    painter.translate(button.center());
    painter.scale(0.6 + 0.4 * progress, 0.6 + 0.4 * progress);
    painter.translate(-button.center());
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 191));
    painter.drawEllipse(button);
    const double side = symbolSide(14);
    paintSymbol(painter, Symbol::xmarkCircleFill,
                QRectF(button.center().x() - side / 2, button.center().y() - side / 2, side, side), Qt::white);
    painter.restore();
}

void SelectedAppTile::enterEvent(QEnterEvent*)
{
    handleHover(true);
}

void SelectedAppTile::leaveEvent(QEvent*)
{
    handleHover(false);
}

void SelectedAppTile::mousePressEvent(QMouseEvent* event)
{
    // The tile itself has no tap action; only its remove button does.
    if (isHovered_ && event->button() == Qt::LeftButton && removeButtonRect().contains(event->position())) {
        event->accept();
        // Removing the application usually removes this tile: not while it
        // is still handling the click.
        QPointer<SelectedAppTile> tile(this);
        scheduler_.async([tile] {
            if (tile && tile->onRemove_)
                tile->onRemove_();
        });
        return;
    }
    event->ignore();
}

bool SelectedAppTile::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (isHovered_ && removeButtonRect().contains(help->pos()))
            QToolTip::showText(help->globalPos(), removeTooltip_, this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void SelectedAppTile::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    emit iconFrameChanged();
}

void SelectedAppTile::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    emit iconFrameChanged();
}

void SelectedAppTile::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    emit iconFrameChanged();
}

} // namespace vesk
