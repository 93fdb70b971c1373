#pragma once

#include "enforcement/InstalledApp.h"
#include "ui/TextItemsProviding.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>
#include <vector>

namespace vesk {

// The open list of the application search: one row per match (icon, name
// and, when asked for, a trailing plus), hairline dividers between rows, or
// the empty-state line when nothing matches; on an inset rounded rectangle
// with a hairline outline. A click anywhere in a row hands its application to
// the tap handler.
class AppSearchResultsView final : public QWidget, public TextItemsProviding {
    Q_OBJECT

public:
    static constexpr double cornerRadius = 9;
    static constexpr double rowIconSide = 18;

    AppSearchResultsView(bool showsTrailingPlus, QString emptyText, std::function<void(const InstalledApp&)> onTap,
                         QWidget* parent = nullptr);

    // Painted under the translucent inset fill: a list that floats over other
    // content gets an opaque one, so that nothing shows through its rows.
    void setBackdrop(const QColor& color);

    void setRows(std::vector<InstalledApp> rows);
    const std::vector<InstalledApp>& rows() const { return rows_; }
    // -1 when the pointer is over no row.
    int hoveredRow() const { return hoveredRow_; }
    void setHoveredRow(int row);

    // The row's rectangle; dividers lie between consecutive rows.
    QRectF rowRect(int row) const;
    int dividerCount() const { return rows_.empty() ? 0 : static_cast<int>(rows_.size()) - 1; }
    // Each row by its application's name.
    std::vector<std::pair<QString, QRectF>> textItems() const override;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    double rowHeight() const;
    int rowAt(const QPointF& point) const;
    void paintRow(QPainter& painter, int row) const;
    void paintEmptyState(QPainter& painter) const;

    bool showsTrailingPlus_;
    QString emptyText_;
    std::function<void(const InstalledApp&)> onTap_;
    VeskTheme theme_ = VeskTheme::shared();
    QColor backdrop_ = Qt::transparent;
    std::vector<InstalledApp> rows_;
    int hoveredRow_ = -1;
    int pressedRow_ = -1;
};

} // namespace vesk
