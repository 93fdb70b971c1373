#include "panels/SessionHUDGoalBanner.h"

#include "store/GoalRule.h"
#include "ui/FilledButton.h"
#include "ui/FittedText.h"
#include "ui/GoalTargetIcon.h"
#include "ui/Gradient.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QMouseEvent>
#include <QPainter>

namespace vesk {

namespace {

constexpr double horizontalPadding = 10;
constexpr double verticalPadding = 7;
constexpr double iconSide = 20;
constexpr double iconTopPadding = 2;
constexpr double spacing = 8;
constexpr double closeSide = 18;
constexpr double textSpacing = 2;
constexpr int expandableLength = 32;

TextStyle headingStyle()
{
    return {.font = VeskFont::monospaced(9, QFont::DemiBold), .tracking = 1.08};
}

TextStyle goalStyle(bool expanded)
{
    return {.font = VeskFont::interface(11, QFont::Medium), .lineLimit = expanded ? 2 : 1};
}

FilledButton::Look closeLook()
{
    return FilledButton::Look::filled(VeskFont::interface(13, QFont::DemiBold), rgb(255, 255, 255, 0.62));
}

} // namespace

SessionHUDGoalBanner::SessionHUDGoalBanner(std::function<void()> onTap, std::function<void()> onClose,
                                           const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , onTap_(std::move(onTap))
    , closeButton_(new FilledButton(QString(), closeLook(), this))
    , localizer_(localizer)
{
    setFixedSize(width, collapsedHeight);
    closeButton_->setFixedSize(static_cast<int>(closeSide), static_cast<int>(closeSide));
    closeButton_->move(static_cast<int>(width - horizontalPadding - closeSide), static_cast<int>(verticalPadding));
    connect(closeButton_, &QAbstractButton::clicked, this, [close = std::move(onClose)] { close(); });
}

bool SessionHUDGoalBanner::canExpand(const QString& goal)
{
    return prefixOfUserCharacters(goal, expandableLength) != goal;
}

void SessionHUDGoalBanner::setGoal(const QString& goal, bool expanded)
{
    goal_ = goal;
    expanded_ = expanded;
    setToolTip(goal);
    setFixedHeight(expanded ? expandedHeight : collapsedHeight);
    closeButton_->setText(expanded ? localizer_.translate("SessionHUDView", "\u2303")
                                   : localizer_.translate("SessionHUDView", "\u00d7"));
    update();
}

void SessionHUDGoalBanner::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF bounds = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QPainterPath shape = continuousRoundedRect(bounds, 8);
    const QColor goalColor = GoalTargetIcon::color();
    painter.fillPath(shape, LinearGradient({{0, withOpacity(goalColor, 0.1)}, {1, withOpacity(goalColor, 0.03)}},
                                           {0.5, 0}, {0.5, 1})
                                .in(bounds));
    painter.strokePath(shape, strokePen(withOpacity(goalColor, 0.25), 1));

    GoalTargetIcon::paint(painter, QRectF(horizontalPadding, verticalPadding + iconTopPadding, iconSide, iconSide));

    const double textLeft = horizontalPadding + iconSide + spacing;
    const double textWidth = width - horizontalPadding - closeSide - spacing - textLeft;
    const FittedText heading =
        FittedText::fit(localizer_.translate("SessionHUDView", "ZIEL"), headingStyle(), textWidth);
    heading.paint(painter, QRectF(textLeft, verticalPadding, textWidth, heading.size.height()), goalColor);
    const FittedText goal = FittedText::fit(goal_, goalStyle(expanded_), textWidth);
    goal.paint(painter,
               QRectF(textLeft, verticalPadding + heading.size.height() + textSpacing, textWidth, goal.size.height()),
               rgb(255, 255, 255, 0.92));
}

void SessionHUDGoalBanner::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onTap_)
        onTap_();
}

} // namespace vesk
