#include "setup/AppSearchResultsView.h"

#include "ui/ApplicationIcon.h"
#include "ui/FittedText.h"
#include "ui/Shapes.h"
#include "ui/Symbol.h"
#include "ui/VeskFont.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

constexpr double horizontalPadding = 14;
constexpr double rowVerticalPadding = 8;
constexpr double emptyVerticalPadding = 12;
constexpr double rowSpacing = 10;
constexpr double dividerThickness = 1;
constexpr double plusPointSize = 11;

TextStyle nameStyle()
{
    return {.font = VeskFont::interface(13)};
}

TextStyle emptyStyle()
{
    return {.font = VeskFont::interface(12)};
}

double lineHeight(const TextStyle& style)
{
    return FittedText::fit(QStringLiteral("Ag"), style, 0).size.height();
}

} // namespace

AppSearchResultsView::AppSearchResultsView(bool showsTrailingPlus, QString emptyText,
                                           std::function<void(const InstalledApp&)> onTap, QWidget* parent)
    : QWidget(parent)
    , showsTrailingPlus_(showsTrailingPlus)
    , emptyText_(std::move(emptyText))
    , onTap_(std::move(onTap))
{
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void AppSearchResultsView::setBackdrop(const QColor& color)
{
    backdrop_ = color;
    update();
}

void AppSearchResultsView::setRows(std::vector<InstalledApp> rows)
{
    if (rows == rows_)
        return;
    rows_ = std::move(rows);
    hoveredRow_ = -1;
    pressedRow_ = -1;
    updateGeometry();
    resize(width(), sizeHint().height());
    update();
}

void AppSearchResultsView::setHoveredRow(int row)
{
    if (row == hoveredRow_)
        return;
    hoveredRow_ = row;
    update();
}

double AppSearchResultsView::rowHeight() const
{
    return rowVerticalPadding * 2 + std::max(rowIconSide, lineHeight(nameStyle()));
}

QRectF AppSearchResultsView::rowRect(int row) const
{
    return {0, row * (rowHeight() + dividerThickness), static_cast<double>(width()), rowHeight()};
}

std::vector<std::pair<QString, QRectF>> AppSearchResultsView::textItems() const
{
    std::vector<std::pair<QString, QRectF>> items;
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        items.emplace_back(rows_[static_cast<size_t>(row)].name, rowRect(row));
    return items;
}

int AppSearchResultsView::rowAt(const QPointF& point) const
{
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
        if (rowRect(row).contains(point))
            return row;
    }
    return -1;
}

QSize AppSearchResultsView::sizeHint() const
{
    const double height = rows_.empty() ? emptyVerticalPadding * 2 + lineHeight(emptyStyle())
                                        : rows_.size() * rowHeight() + dividerCount() * dividerThickness;
    return {static_cast<int>(horizontalPadding * 2 + 120), static_cast<int>(std::ceil(height))};
}

QSize AppSearchResultsView::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

void AppSearchResultsView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const QPainterPath shape = continuousRoundedRect(QRectF(rect()), cornerRadius);
    painter.fillPath(shape, backdrop_);
    painter.fillPath(shape, theme_.inset);
    painter.save();
    painter.setClipPath(shape);
    if (rows_.empty()) {
        paintEmptyState(painter);
    } else {
        for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
            paintRow(painter, row);
            if (row + 1 < static_cast<int>(rows_.size()))
                painter.fillRect(QRectF(0, rowRect(row).bottom(), width(), dividerThickness), theme_.hairline);
        }
    }
    painter.restore();
    painter.strokePath(continuousRoundedRect(QRectF(rect()).adjusted(0.25, 0.25, -0.25, -0.25), cornerRadius),
                       strokePen(theme_.hairline, 0.5));
}

void AppSearchResultsView::paintRow(QPainter& painter, int row) const
{
    const QRectF bounds = rowRect(row);
    const bool hovered = row == hoveredRow_;
    if (hovered)
        painter.fillRect(bounds, QColor(255, 255, 255, 10));
    const InstalledApp& app = rows_[static_cast<size_t>(row)];

    const QRectF icon(horizontalPadding, bounds.center().y() - rowIconSide / 2, rowIconSide, rowIconSide);
    painter.save();
    painter.setClipPath(continuousRoundedRect(icon, 4), Qt::IntersectClip);
    if (app.icon.isNull())
        paintGenericApplicationIcon(painter, icon);
    else
        painter.drawImage(icon, app.icon);
    painter.restore();

    double right = bounds.right() - horizontalPadding;
    if (showsTrailingPlus_) {
        const double side = symbolSide(plusPointSize);
        paintSymbol(painter, Symbol::plus, QRectF(right - side, bounds.center().y() - side / 2, side, side),
                    hovered ? theme_.accent : theme_.textMuted, QFont::DemiBold);
        right -= side + rowSpacing;
    }
    const double nameLeft = icon.right() + rowSpacing;
    FittedText::fit(app.name, nameStyle(), right - nameLeft)
        .paint(painter, QRectF(nameLeft, bounds.top(), right - nameLeft, bounds.height()), theme_.textPrimary);
}

void AppSearchResultsView::paintEmptyState(QPainter& painter) const
{
    const QRectF text =
        QRectF(rect()).adjusted(horizontalPadding, emptyVerticalPadding, -horizontalPadding, -emptyVerticalPadding);
    FittedText::fit(emptyText_, emptyStyle(), text.width()).paint(painter, text, theme_.textDim);
}

void AppSearchResultsView::mouseMoveEvent(QMouseEvent* event)
{
    setHoveredRow(rowAt(event->position()));
}

void AppSearchResultsView::leaveEvent(QEvent*)
{
    setHoveredRow(-1);
}

void AppSearchResultsView::mousePressEvent(QMouseEvent* event)
{
    pressedRow_ = event->button() == Qt::LeftButton ? rowAt(event->position()) : -1;
}

void AppSearchResultsView::mouseReleaseEvent(QMouseEvent* event)
{
    const int row = rowAt(event->position());
    const bool tapped = event->button() == Qt::LeftButton && row >= 0 && row == pressedRow_;
    pressedRow_ = -1;
    if (tapped && onTap_) {
        // The handler may change the rows; it gets its own copy.
        const InstalledApp app = rows_[static_cast<size_t>(row)];
        onTap_(app);
    }
}

} // namespace vesk
