#pragma once

#include "feedback/BugReportCategory.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>

namespace vesk {

// The form's category switch: one segment per category in a shared rounded
// track; pressing a segment selects its category at once.
class BugReportCategorySwitch final : public QWidget {
    Q_OBJECT

public:
    BugReportCategorySwitch(const VeskTheme& theme, const Localizer& localizer, QWidget* parent = nullptr);

    BugReportCategory selected() const { return selected_; }
    void setSelected(BugReportCategory category);
    // Called when the user presses a segment.
    void setPressedHandler(std::function<void(BugReportCategory)> handler) { pressed_ = std::move(handler); }

    QSize sizeHint() const override;
    // The segment's rectangle in the widget.
    QRectF segmentRect(BugReportCategory category) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QString segmentLabel(BugReportCategory category) const;

    const VeskTheme& theme_;
    const Localizer& localizer_;
    BugReportCategory selected_ = BugReportCategory::bug;
    std::function<void(BugReportCategory)> pressed_;
};

} // namespace vesk
