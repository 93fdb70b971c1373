#pragma once

#include "enforcement/DynamicAllowlistState.h"
#include "panels/AllowedAppVisibilitySnapshot.h"
#include "panels/AppLaunchPrompt.h"
#include "panels/SessionExitAppDisposition.h"
#include "panels/SessionScreenshotFeedback.h"
#include "panels/SessionStatusFeedback.h"
#include "stage/StageVeskScreenID.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QUrl>

#include <optional>
#include <set>
#include <vector>

namespace vesk {

// The running session as the in-session panels see it: what they show and
// what they may ask of it. The session manager implements it; view tests use
// a scripted fake. Main thread only.
class SessionControlling : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // Observed: `changed` follows a change of any of these.
    virtual bool isSessionActive() const = 0;
    virtual bool isHardcoreSession() const = 0;
    // A session without a time limit is active or starting.
    virtual bool isOpenEndedSession() const = 0;
    virtual const std::optional<QString>& currentGoal() const = 0;
    virtual std::optional<SessionStatusFeedback> sessionStatusFeedback() const = 0;
    virtual std::optional<SessionScreenshotFeedback> screenshotFeedback() const = 0;
    virtual const DynamicAllowlistState& dynamicAllowlist() const = 0;
    // The screen the quick-access panel was opened for.
    virtual std::optional<StageVeskScreenID> quickAccessTargetScreenID() const = 0;
    virtual const std::optional<AppLaunchPrompt>& pendingAppLaunchPrompt() const = 0;

    // Read afresh on every render; no signal tells of their changes.
    // "mm:ss" remaining (minutes may pass 59), or "hh:mm:ss" elapsed in a
    // session without a time limit.
    virtual QString remainingTimeText(const QDateTime& now) const = 0;
    // One per allowed application, each at most once.
    virtual std::vector<AllowedAppVisibilitySnapshot> allowedAppVisibilitySnapshots() const = 0;
    // The one-line state text that log lines end with.
    virtual QString sessionDiagnosticsDescription() const = 0;
    // Whether an application added during the session may be removed now.
    virtual bool canRemoveAppAtRuntime(const QString& bundleID) const = 0;

    // Widening and narrowing the allowlist, and bringing an application back.
    virtual void addApp(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                        std::optional<StageVeskScreenID> targetScreen) = 0;
    virtual void removeApp(const QString& bundleID) = 0;
    virtual void restoreAllowedApp(const QString& bundleID) = 0;

    // Leaving in two steps: the request only logs; the confirmation stops the
    // session unless it is hardcore.
    virtual void requestManualExitConfirmation() = 0;
    virtual void confirmManualExit(SessionExitAppDisposition disposition) = 0;
    // Logs that the user backed out of the confirmation.
    virtual void logManualExitConfirmationCanceled() = 0;
    // Ends the session at once, also a hardcore one (development only).
    virtual void debugForceStop() = 0;

    // None opens the panel on the screen under the mouse.
    virtual void toggleQuickAccessPanel(std::optional<StageVeskScreenID> screenID) = 0;
    // Opens or closes the bug-report panel while a session runs.
    virtual void toggleBugReportPanel() = 0;
    virtual void requestScreenshot(const QDateTime& date) = 0;
    // The app-launch prompt's answer: true adds the application, false quits it.
    virtual void confirmAppLaunchPrompt(bool allow) = 0;
    // A recovery pass over the allowed applications soon (targets: only these).
    virtual void scheduleAllowedAppsRecovery(const QString& reason, const std::optional<std::set<QString>>& targets,
                                             bool dragDeferrable) = 0;

signals:
    // One of the observed values changed.
    void changed();
};

} // namespace vesk
