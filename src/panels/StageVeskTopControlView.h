#pragma once

#include "stage/StageVeskPhase.h"
#include "stage/StageVeskScreenID.h"
#include "ui/Localizer.h"

#include <QPointer>
#include <QWidget>

#include <map>

class QLabel;

namespace vesk {

class FilledButton;
class StageVeskCard;
class StageVeskService;
class SessionControlling;

// The top bar of a screen: the session's goal and the five layout buttons of
// this screen. A button sets its layout on this screen, also when it is
// already the selected one; the bar redraws from the stage's state.
class StageVeskTopControlView final : public QWidget {
    Q_OBJECT

public:
    StageVeskTopControlView(SessionControlling& session, StageVeskService& stage, StageVeskScreenID screenID,
                            const Localizer& localizer, QWidget* parent = nullptr);

    FilledButton* modeButton(StageVeskPhase phase) const { return modeButtons_.at(phase); }
    // The goal as shown (cut to its width).
    QString shownGoal() const;

    // The rounded backing that the bar's window is shaped to.
    StageVeskCard* card() const { return card_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void fitGoal();

    QPointer<SessionControlling> session_;
    QPointer<StageVeskService> stage_;
    StageVeskScreenID screenID_;
    QString goal_;
    QLabel* goalLabel_ = nullptr;
    std::map<StageVeskPhase, FilledButton*> modeButtons_;
    StageVeskCard* card_ = nullptr;
};

} // namespace vesk
