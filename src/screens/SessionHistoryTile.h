#pragma once

#include "ui/VeskTheme.h"

#include <QWidget>

#include <array>
#include <optional>

namespace vesk {

// One statistics tile of the history: a title, then a value or the goal bar,
// then a caption, on a rounded inset.
class SessionHistoryTile final : public QWidget {
    Q_OBJECT

public:
    // The goal bar's segments: done, partial, failed.
    using GoalCounts = std::array<qint64, 3>;

    SessionHistoryTile(QString title, const VeskTheme& theme, QWidget* parent = nullptr);

    void setValue(const QString& value, const QColor& color);
    void setGoalCounts(const GoalCounts& counts);
    void setCaption(const QString& caption);

    const QString& value() const { return value_; }
    const QString& caption() const { return caption_; }
    // The widths of the goal bar's segments at the tile's width.
    std::array<double, 3> goalSegmentWidths() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    VeskTheme theme_;
    QString value_;
    QColor valueColor_;
    std::optional<GoalCounts> goalCounts_;
    QString caption_;
};

} // namespace vesk
