#include "app/SessionManagerStageControls.h"

#include "session/SessionManager.h"

namespace vesk {

SessionManagerStageControls::SessionManagerStageControls(SessionManager& manager) : manager_(manager)
{
    for (const auto signal : {&SessionManager::currentGoalChanged, &SessionManager::isHardcoreSessionChanged,
                              &SessionManager::remainingSecondsChanged, &SessionManager::isSessionActiveChanged})
        connect(&manager, signal, this, &StageVeskSessionControlling::changed);
}

std::optional<QString> SessionManagerStageControls::currentGoal() const
{
    return manager_.currentGoal();
}

bool SessionManagerStageControls::isHardcoreSession() const
{
    return manager_.isHardcoreSession();
}

QString SessionManagerStageControls::remainingTimeText(const QDateTime& now) const
{
    return manager_.remainingTimeText(now);
}

void SessionManagerStageControls::toggleQuickAccessPanel(StageVeskScreenID screen)
{
    manager_.toggleQuickAccessPanel(screen);
}

void SessionManagerStageControls::toggleBugReportPanel()
{
    manager_.toggleBugReportPanel();
}

void SessionManagerStageControls::requestManualExitConfirmation()
{
    manager_.requestManualExitConfirmation();
}

void SessionManagerStageControls::confirmManualExit(bool quitAllowedApps)
{
    manager_.confirmManualExit(quitAllowedApps ? SessionExitAppDisposition::terminateAllowedApps
                                               : SessionExitAppDisposition::leaveOpen);
}

void SessionManagerStageControls::cancelManualExitConfirmation()
{
    logger_.log(VeskLogLevel::info,
                QStringLiteral("HUD manual exit confirmation canceled — ") + manager_.sessionDiagnosticsDescription());
}

void SessionManagerStageControls::debugForceStop()
{
    manager_.debugForceStop();
}

} // namespace vesk
