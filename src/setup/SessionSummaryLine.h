#pragma once

#include "core/MainQueueTimer.h"
#include "setup/MetaLineButtonStyle.h"
#include "setup/MetaPopoverWindow.h"
#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QPointer>
#include <QWidget>

namespace vesk {

class Clock;
class Scheduler;
class SessionSetupModel;

// The line under the start control that sums up the session about to start:
// "3 Apps · 30 Min · Hardcore · Ziel: …". It is a button: pressing it opens
// the meta popover under it, where duration, hardcore and goal are edited;
// the popover follows the model's isMetaPopoverShown.
class SessionSummaryLine final : public QWidget {
    Q_OBJECT

public:
    static constexpr double pointSize = 11;
    // A goal of this many characters or more is shortened to its first
    // shortenedGoalLength characters and "…".
    static constexpr int goalShorteningThreshold = 19;
    static constexpr int shortenedGoalLength = 17;

    struct Text {
        // Applications, duration and hardcore.
        QString leading;
        // " · Ziel: …", or " · Ziel setzen" when there is no goal.
        QString goal;
        // The goal piece asks for a goal (drawn in the accent).
        bool asksForGoal = false;
        QString tooltip;

        QString whole() const { return leading + goal; }
    };

    static Text text(int appCount, qint64 durationSeconds, bool hardcore, const QString& goal,
                     const Localizer& localizer = Localizer());

    SessionSummaryLine(SessionSetupModel& model, Scheduler& scheduler, const Clock& clock,
                       const Localizer& localizer = Localizer(), QWidget* parent = nullptr);
    ~SessionSummaryLine() override;

    const Text& currentText() const { return text_; }
    bool isHovered() const { return style_.isHovered(); }
    void setHovered(bool hovered);
    // The open popover window, if any.
    MetaPopoverWindow* popover() const;
    // How the popover is listed in the desktop's window list while it is open; unlisted without it.
    void setPopoverListing(MetaPopoverWindow::ListWindow listWindow) { listPopover_ = std::move(listWindow); }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void refresh();
    void showOrHidePopover();

    SessionSetupModel& model_;
    Scheduler& scheduler_;
    const Clock& clock_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();
    MetaLineButtonStyle style_;
    MainQueueTimer frames_;
    Text text_;
    QPointer<MetaPopoverWindow> popover_;
    MetaPopoverWindow::ListWindow listPopover_;
};

} // namespace vesk
