#pragma once

#include "core/Clock.h"
#include "core/MainQueueTimer.h"
#include "core/Scheduler.h"
#include "stage/StageVeskScreenID.h"
#include "ui/Localizer.h"

#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QLabel;

namespace vesk {

class FilledButton;
class StageVeskCard;
class StageVeskService;
class SessionControlling;

// The control bar of a screen: the session clock, how many applications are
// on the stage (over all screens), adding an application on this screen, the
// stage settings and leaving the session in two steps. In a hardcore session
// the hardcore badge stands where the leave button would.
class StageVeskBottomControlView final : public QWidget {
    Q_OBJECT

public:
    StageVeskBottomControlView(SessionControlling& session, StageVeskService& stage, StageVeskScreenID screenID,
                               std::function<void()> onToggleSettings, Clock& clock, Scheduler& scheduler,
                               const Localizer& localizer, QWidget* parent = nullptr);

    bool isShowingExitConfirmation() const { return isShowingExitConfirmation_; }
    QString clockText() const;
    QString countText() const;
    // The leave button, or the hardcore badge's place.
    bool showsLeaveButton() const;
    bool showsHardcoreBadge() const;

    // The rounded backing that the bar's window is shaped to.
    StageVeskCard* card() const { return card_; }

private:
    QWidget* makeNormalRow(const Localizer& localizer);
    QWidget* makeConfirmationRow(const Localizer& localizer);
    void setShowingExitConfirmation(bool showing);
    void refresh();
    void refreshClock();

    QPointer<SessionControlling> session_;
    QPointer<StageVeskService> stage_;
    StageVeskScreenID screenID_;
    std::function<void()> onToggleSettings_;
    Clock& clock_;
    Localizer localizer_;
    bool isShowingExitConfirmation_ = false;

    QWidget* normalRow_ = nullptr;
    QWidget* confirmationRow_ = nullptr;
    QLabel* clockLabel_ = nullptr;
    QLabel* countLabel_ = nullptr;
    FilledButton* leaveButton_ = nullptr;
    QWidget* hardcoreBadge_ = nullptr;
    // The session tells of no clock change: the bar reads it every second.
    std::unique_ptr<MainQueueTimer> clockTick_;
    StageVeskCard* card_ = nullptr;
};

} // namespace vesk
