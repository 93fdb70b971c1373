#include "feedback/BugReportCategorySwitch.h"

#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>

namespace vesk {

namespace {

constexpr double trackPadding = 3;
constexpr double segmentSpacing = 2;
constexpr double labelPadding = 6;
const QFont& labelFont(bool selected)
{
    static const QFont semibold = VeskFont::interface(12, QFont::DemiBold);
    static const QFont medium = VeskFont::interface(12, QFont::Medium);
    return selected ? semibold : medium;
}

} // namespace

BugReportCategorySwitch::BugReportCategorySwitch(const VeskTheme& theme, const Localizer& localizer, QWidget* parent)
    : QWidget(parent)
    , theme_(theme)
    , localizer_(localizer)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void BugReportCategorySwitch::setSelected(BugReportCategory category)
{
    if (selected_ == category)
        return;
    selected_ = category;
    update();
}

QSize BugReportCategorySwitch::sizeHint() const
{
    const double height = 2 * trackPadding + 2 * labelPadding + QFontMetricsF(labelFont(true)).height();
    return {200, static_cast<int>(std::ceil(height))};
}

QRectF BugReportCategorySwitch::segmentRect(BugReportCategory category) const
{
    const QRectF inner = QRectF(rect()).adjusted(trackPadding, trackPadding, -trackPadding, -trackPadding);
    const double count = static_cast<double>(allBugReportCategories.size());
    const double width = (inner.width() - segmentSpacing * (count - 1)) / count;
    const auto index = static_cast<double>(static_cast<int>(category));
    return {inner.left() + index * (width + segmentSpacing), inner.top(), width, inner.height()};
}

QString BugReportCategorySwitch::segmentLabel(BugReportCategory category) const
{
    switch (category) {
    case BugReportCategory::bug:
        return localizer_.translate("BugReportView", "Bug");
    case BugReportCategory::feedback:
        return localizer_.translate("BugReportView", "Feedback");
    case BugReportCategory::idea:
        return localizer_.translate("BugReportView", "Idee");
    }
    return {};
}

void BugReportCategorySwitch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF track = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.fillPath(continuousRoundedRect(track, 9), theme_.inset);
    painter.strokePath(continuousRoundedRect(track, 9), strokePen(theme_.hairline, 1));
    for (BugReportCategory category : allBugReportCategories) {
        const bool selected = category == selected_;
        const QRectF segment = segmentRect(category);
        if (selected) {
            const QRectF shape = segment.adjusted(0.5, 0.5, -0.5, -0.5);
            painter.fillPath(continuousRoundedRect(shape, 7), theme_.insetStrong);
            painter.strokePath(continuousRoundedRect(shape, 7), strokePen(theme_.hairlineStrong, 1));
        }
        painter.setFont(labelFont(selected));
        painter.setPen(selected ? theme_.textStrong : theme_.textSecondary);
        painter.drawText(segment, Qt::AlignCenter, segmentLabel(category));
    }
}

void BugReportCategorySwitch::mousePressEvent(QMouseEvent* event)
{
    for (BugReportCategory category : allBugReportCategories) {
        if (segmentRect(category).contains(event->position())) {
            setSelected(category);
            if (pressed_)
                pressed_(category);
            return;
        }
    }
}

} // namespace vesk
