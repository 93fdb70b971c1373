#pragma once

#include "enforcement/InstalledApp.h"
#include "logging/VeskLogger.h"
#include "ui/Localizer.h"

#include <QColor>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace vesk {

class Clock;
class FilledButton;
class HardcoreLockBadge;
class MainQueueTimer;
class Scheduler;
class SessionControlling;
class SessionHUDAppStrip;
class SessionHUDExitConfirmation;
class SessionHUDGoalBanner;
class TextLabel;

// The heads-up display of a running session, a dark card 320 wide: the goal
// banner, the countdown (or the elapsed time), a status line, the strip of
// allowed applications and the buttons (goal pill, "Apps", screenshot, and
// "VESK verlassen" or, in a hardcore session, the hardcore badge). Leaving
// takes two steps: the leave button opens a confirmation in place of the
// strip and the buttons.
//
// It reads the session on every change and every 0.5 s and keeps three
// flags of its own: the confirmation, and the banner dismissed or expanded.
class SessionHUDView final : public QWidget {
    Q_OBJECT

public:
    static constexpr int width = 320;

    // `installedApps`: one scan, taken when the HUD is shown.
    SessionHUDView(SessionControlling& session, std::vector<InstalledApp> installedApps, Scheduler& scheduler,
                   const Clock& clock, const Localizer& localizer = Localizer(), QWidget* parent = nullptr);
    ~SessionHUDView() override;

    // The card's height by the first rule that applies: 184 with the
    // confirmation, without a goal or with the banner dismissed; 234 with
    // the banner expanded; 216 with it collapsed. The card itself is taller
    // where its content needs more (the confirmation under a banner), with a
    // little room above and below.
    int panelHeight() const;

    bool isShowingExitConfirmation() const { return showingExitConfirmation_; }
    bool isGoalBannerDismissed() const { return goalBannerDismissed_; }
    bool isGoalBannerExpanded() const { return goalBannerExpanded_; }

    // What the user sees and presses, for the panel window and tests.
    TextLabel* timeText() const { return time_; }
    TextLabel* statusLine() const { return status_; }
    SessionHUDGoalBanner* goalBanner() const { return banner_; }
    SessionHUDAppStrip* strip() const { return strip_; }
    FilledButton* goalPill() const { return goalPill_; }
    FilledButton* appsButton() const { return appsButton_; }
    FilledButton* screenshotButton() const { return screenshotButton_; }
    FilledButton* leaveButton() const { return leaveButton_; }
    HardcoreLockBadge* hardcoreBadge() const { return hardcoreBadge_; }
    SessionHUDExitConfirmation* exitConfirmation() const { return confirmation_; }

    // The status line by priority: the other-Space notice, then a saved or
    // failed screenshot, else "VESK aktiv" (German texts, translated when shown).
    struct Status {
        const char* text;
        QColor color;
    };
    static Status status(const SessionControlling& session);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QWidget* makeButtonRow();
    void refresh();
    void sessionChanged();

    void expandGoalBanner();
    void closeGoalBanner();
    void goalPillTapped();
    void exitButtonTapped();
    void confirmExitClosingApps();
    void confirmExitLeavingApps();
    void cancelExit();

    SessionControlling& session_;
    std::vector<InstalledApp> installedApps_;
    const Clock& clock_;
    Localizer localizer_;
    VeskLogger logger_{QStringLiteral("SessionHUDView")};

    bool showingExitConfirmation_ = false;
    bool goalBannerDismissed_ = false;
    bool goalBannerExpanded_ = false;
    std::optional<QString> shownGoal_;

    SessionHUDGoalBanner* banner_;
    TextLabel* time_;
    TextLabel* status_;
    SessionHUDAppStrip* strip_;
    QWidget* buttonRow_ = nullptr;
    FilledButton* goalPill_ = nullptr;
    FilledButton* appsButton_ = nullptr;
    FilledButton* screenshotButton_ = nullptr;
    FilledButton* leaveButton_ = nullptr;
    HardcoreLockBadge* hardcoreBadge_ = nullptr;
    SessionHUDExitConfirmation* confirmation_;
    QWidget* content_ = nullptr;
    std::unique_ptr<MainQueueTimer> timeline_;
};

} // namespace vesk
