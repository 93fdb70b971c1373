#pragma once

#include "core/MainQueueTimer.h"
#include "ui/Localizer.h"

#include <QWidget>

class QAbstractButton;

namespace vesk {

class Clock;
class Scheduler;
class SessionManager;
class TextLabel;

// What the main window shows while a session runs: on black, the session's
// clock (the time left, or for an open-ended session the time since it began,
// ticking every second), "Session aktiv" and a quiet "Session beenden" that
// ends the session at once, leaving its applications open. A hardcore session
// ends only by its timer, so it shows no "Session beenden".
class ActiveSessionView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int contentWidth = 300;
    static constexpr int contentHeight = 200;
    static constexpr double openEndedTickSeconds = 1.0;

    ActiveSessionView(SessionManager& manager, const Clock& clock, Scheduler& scheduler, const Localizer& localizer,
                      QWidget* parent = nullptr);

    QString clockText() const;
    QAbstractButton* stopButton() const { return stopButton_; }

    // Reads the session manager again.
    void refresh();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTicker();

    SessionManager& manager_;
    const Clock& clock_;
    TextLabel* clockLabel_ = nullptr;
    QAbstractButton* stopButton_ = nullptr;
    MainQueueTimer ticker_;
};

} // namespace vesk
