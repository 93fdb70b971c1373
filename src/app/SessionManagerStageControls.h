#pragma once

#include "logging/VeskLogger.h"
#include "stage/StageVeskSessionControlling.h"

namespace vesk {

class SessionManager;

// The session manager as the stage bars see it; tells them of every change of
// the goal, the hardcore flag, the clock and the session's state.
class SessionManagerStageControls final : public StageVeskSessionControlling {
    Q_OBJECT

public:
    explicit SessionManagerStageControls(SessionManager& manager);

    std::optional<QString> currentGoal() const override;
    bool isHardcoreSession() const override;
    QString remainingTimeText(const QDateTime& now) const override;
    void toggleQuickAccessPanel(StageVeskScreenID screen) override;
    void toggleBugReportPanel() override;
    void requestManualExitConfirmation() override;
    void confirmManualExit(bool quitAllowedApps) override;
    void cancelManualExitConfirmation() override;
    void debugForceStop() override;

private:
    SessionManager& manager_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
};

} // namespace vesk
