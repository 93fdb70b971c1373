#pragma once

#include "ui/Localizer.h"
#include "ui/VeskTheme.h"

#include <QWidget>

#include <functional>
#include <vector>

class QAbstractButton;
class QPlainTextEdit;

namespace vesk {

class DurationPill;
class Scheduler;
class SessionSetupModel;
class TextLabel;
class ToggleSwitch;

// The popover in which the user sets the session's duration (one pill per
// duration option), the hardcore flag and the optional goal, 290 points
// wide. It edits the setup model's values and closes only through its
// dismiss action (the close button, Escape).
class MetaPopoverView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int popoverWidth = 290;
    static constexpr int goalLimit = 80;

    MetaPopoverView(SessionSetupModel& model, Scheduler& scheduler, bool focusGoalOnAppear,
                    std::function<void()> onDismiss, const Localizer& localizer = Localizer(),
                    QWidget* parent = nullptr);

    // The goal counter's colour for a number of characters: textSecondary
    // below 60, the accent from 60, red from 76.
    static QColor counterColor(int characterCount, const VeskTheme& theme = VeskTheme::shared());
    // A pill's label: the option's minutes, or "∞" for the unlimited option.
    static QString pillLabel(const std::optional<int>& minutes);

    const std::vector<DurationPill*>& pills() const { return pills_; }
    ToggleSwitch* hardcoreSwitch() const { return hardcoreSwitch_; }
    QPlainTextEdit* goalField() const { return goalField_; }
    TextLabel* counter() const { return counter_; }
    // Replaces the goal by itself trimmed, as Return in the goal field does.
    void submitGoal();
    // The view fills itself with bgBottom unless its window draws the body.
    void setDrawsBackground(bool draws);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* makeHeader();
    QLayout* makeDurationSection();
    QWidget* makeDivider();
    QLayout* makeHardcoreRow();
    QLayout* makeGoalSection();
    void refresh();
    void fitGoalField();
    void goalFieldEdited();

    SessionSetupModel& model_;
    Scheduler& scheduler_;
    bool focusGoalOnAppear_;
    bool drawsBackground_ = true;
    std::function<void()> onDismiss_;
    Localizer localizer_;
    VeskTheme theme_ = VeskTheme::shared();

    QAbstractButton* closeButton_ = nullptr;
    std::vector<DurationPill*> pills_;
    ToggleSwitch* hardcoreSwitch_ = nullptr;
    TextLabel* counter_ = nullptr;
    QPlainTextEdit* goalField_ = nullptr;
};

} // namespace vesk
