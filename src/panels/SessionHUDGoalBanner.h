#pragma once

#include "ui/Localizer.h"

#include <QWidget>

#include <functional>

namespace vesk {

class FilledButton;

// The session goal at the top of the HUD, 288 wide: the target icon, "ZIEL"
// and the goal on one line (38 high) or, expanded, on two (56 high), with a
// close button that collapses an expanded banner and otherwise dismisses it.
// A tap anywhere else on the banner asks to expand it.
class SessionHUDGoalBanner final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 288;
    static constexpr int collapsedHeight = 38;
    static constexpr int expandedHeight = 56;

    SessionHUDGoalBanner(std::function<void()> onTap, std::function<void()> onClose, const Localizer& localizer,
                         QWidget* parent = nullptr);

    void setGoal(const QString& goal, bool expanded);
    const QString& goal() const { return goal_; }
    bool isExpanded() const { return expanded_; }
    FilledButton* closeButton() const { return closeButton_; }

    // Whether a goal is long enough to expand: more than 32 characters as the
    // user sees them (an emoji sequence is one).
    static bool canExpand(const QString& goal);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::function<void()> onTap_;
    QString goal_;
    bool expanded_ = false;
    FilledButton* closeButton_;
    const Localizer& localizer_;
};

} // namespace vesk
