#include "screens/SessionHistoryTile.h"

#include "ui/FittedText.h"
#include "ui/Shapes.h"
#include "ui/VeskFont.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double paddingVertical = 11;
constexpr double paddingSide = 12;
constexpr double minimumTileHeight = 78;
constexpr double barHeight = 8;
constexpr double barTop = 9;
constexpr double barSpacing = 2;

TextStyle titleStyle()
{
    return {.font = VeskFont::interface(11, QFont::Medium)};
}

TextStyle valueStyle()
{
    return {.font = VeskFont::interface(21, QFont::DemiBold), .minimumScaleFactor = 0.6};
}

TextStyle captionStyle()
{
    return {.font = VeskFont::interface(10.5)};
}

double lineHeight(const TextStyle& style)
{
    return QFontMetricsF(style.font).height();
}

} // namespace

SessionHistoryTile::SessionHistoryTile(QString title, const VeskTheme& theme, QWidget* parent)
    : QWidget(parent)
    , title_(std::move(title))
    , theme_(theme)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SessionHistoryTile::setValue(const QString& value, const QColor& color)
{
    value_ = value;
    valueColor_ = color;
    update();
}

void SessionHistoryTile::setGoalCounts(const GoalCounts& counts)
{
    goalCounts_ = counts;
    // The bar is lower than a value line.
    updateGeometry();
    update();
}

void SessionHistoryTile::setCaption(const QString& caption)
{
    caption_ = caption;
    update();
}

std::array<double, 3> SessionHistoryTile::goalSegmentWidths() const
{
    if (!goalCounts_)
        return {0, 0, 0};
    const GoalCounts& counts = *goalCounts_;
    const double total = std::max<qint64>(1, counts[0] + counts[1] + counts[2]);
    // The gaps between drawn segments come out of the bar's width.
    const auto drawn = std::count_if(counts.begin(), counts.end(), [](qint64 count) { return count > 0; });
    const double available =
        std::max(0.0, width() - 2 * paddingSide - barSpacing * static_cast<double>(std::max<long>(0, drawn - 1)));
    std::array<double, 3> widths{};
    for (size_t index = 0; index < counts.size(); ++index)
        widths[index] = std::max(0.0, available * static_cast<double>(counts[index]) / total);
    return widths;
}

QSize SessionHistoryTile::sizeHint() const
{
    const double middle = goalCounts_ ? barTop + barHeight : 5 + lineHeight(valueStyle());
    const double height =
        paddingVertical + lineHeight(titleStyle()) + middle + 3 + lineHeight(captionStyle()) + paddingVertical;
    return QSize(100, static_cast<int>(std::ceil(std::max(minimumTileHeight, height))));
}

QSize SessionHistoryTile::minimumSizeHint() const
{
    return QSize(0, sizeHint().height());
}

void SessionHistoryTile::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPainterPath outline = continuousRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 11);
    painter.fillPath(outline, theme_.inset);
    painter.strokePath(outline, strokePen(theme_.hairline, 1));

    const double left = paddingSide;
    const double width = this->width() - 2 * paddingSide;
    double top = paddingVertical;
    const auto line = [&](const QString& text, const TextStyle& style, const QColor& color) {
        const FittedText fitted = FittedText::fit(text, style, width);
        const double height = lineHeight(style);
        fitted.paint(painter, QRectF(left, top, width, height), color);
        top += height;
    };
    line(title_, titleStyle(), theme_.textDim);
    if (goalCounts_) {
        top += barTop;
        const std::array<QColor, 3> colors{theme_.ok, theme_.warn, theme_.danger};
        double x = left;
        const auto widths = goalSegmentWidths();
        for (size_t index = 0; index < widths.size(); ++index) {
            if (widths[index] <= 0)
                continue;
            painter.fillPath(continuousRoundedRect(QRectF(x, top, widths[index], barHeight), 2), colors[index]);
            x += widths[index] + barSpacing;
        }
        top += barHeight;
    } else {
        top += 5;
        line(value_, valueStyle(), valueColor_);
    }
    top += 3;
    line(caption_, captionStyle(), theme_.textDim);
}

} // namespace vesk
