#pragma once

#include "core/WorkItem.h"
#include "enforcement/InstalledApp.h"
#include "logging/VeskLogger.h"
#include "setup/SessionSetupServices.h"
#include "setup/SetupSoundService.h"
#include "setup/WormveskAnimator.h"
#include "ui/WormveskStyle.h"

#include <QDateTime>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <vector>

namespace vesk {

struct CurrentAllowlist;

// The setup screen's state and logic; the setup views read it and call its
// operations, and hold no logic of their own. It owns the start animator and
// the setup sounds. Everything it does is logged under "SessionSetupView".
// Main thread only; every delay runs on the injected scheduler.
//
// Lifecycle: the view calls handleAppear() when the setup content is shown and
// handleDisappear() when it is hidden, and handleActiveSessionShown() when the
// active-session view takes the setup content's place. changed() follows every
// change of what it holds.
class SessionSetupModel final : public QObject {
    Q_OBJECT

public:
    static constexpr double goalSaveDelaySeconds = 0.4;
    static constexpr int permissionPollRounds = 30;
    static constexpr double permissionPollIntervalSeconds = 1.0;
    // At most this many applications can be picked.
    static constexpr size_t selectionLimit = 5;

    explicit SessionSetupModel(const SessionSetupServices& services, QObject* parent = nullptr);
    ~SessionSetupModel() override;

    // --- What the views read -----------------------------------------------------
    WormveskAnimator& animator() { return animator_; }
    const WormveskAnimator& animator() const { return animator_; }
    SetupSoundService& soundService() { return soundService_; }
    bool isSessionActive() const;
    const std::set<QString>& selectedBundleIDs() const { return selectedBundleIDs_; }
    qint64 sessionDuration() const { return sessionDuration_; }
    bool sessionHardcore() const { return sessionHardcore_; }
    const QString& sessionGoalText() const { return sessionGoalText_; }
    // The installed applications in scan order (sorted by name).
    const std::vector<InstalledApp>& installedApps() const { return installedApps_; }
    // The installed applications that are selected, in scan order. A selected
    // identifier without an installed application stays selected but is not here.
    std::vector<InstalledApp> selectedApps() const;
    bool hasInputMonitoringPermission() const { return hasInputMonitoringPermission_; }
    bool hasAccessibilityPermission() const { return hasAccessibilityPermission_; }
    // The style fixed at the start press, none until then (cleared on appearing).
    std::optional<WormveskStyle> activeStyle() const { return activeStyle_; }
    // The style to draw in: the active one, else the preference resolved now.
    WormveskStyle currentStyle() const;
    // An application selected, both permissions granted and the animator idle.
    bool isStartReady() const;
    std::optional<QDateTime> setupAppearedAt() const { return setupAppearedAt_; }
    const QString& searchText() const { return searchText_; }
    bool isMetaPopoverShown() const { return isMetaPopoverShown_; }
    bool isHistoryPresented() const { return isHistoryPresented_; }
    bool isBugReportPresented() const { return isBugReportPresented_; }
    // The animator is idle and a permission is missing.
    bool showsPermissionBanner() const;
    // The selected tiles' icon frames and the start symbol's centre, in the
    // setup root's coordinates, for the flyer overlay.
    const std::map<QString, QRectF>& iconFrames() const { return iconFrames_; }
    QPointF logoCenter() const { return logoCenter_; }

    // --- What the views change -----------------------------------------------------
    // Persists the selection at once and starts the selection loop (or fades
    // it out when the selection is empty).
    void setSelectedBundleIDs(const std::set<QString>& bundleIDs);
    void setSessionDuration(qint64 seconds);
    void setSessionHardcore(bool hardcore);
    // Cut to 80 user-perceived characters; saved 0.4 s after the last change.
    void setSessionGoalText(const QString& text);
    void setSearchText(const QString& text);
    void setMetaPopoverShown(bool shown);
    void setHistoryPresented(bool presented);
    void setBugReportPresented(bool presented);
    // A pick from the search list: added unless five are selected already.
    void addPickedApp(const InstalledApp& app);
    // A tile's remove button.
    void removeSelectedApp(const InstalledApp& app);
    // Replaces all frames (the tiles report them together).
    void setIconFrames(const std::map<QString, QRectF>& frames);
    // None keeps the earlier centre.
    void reportLogoCenter(const std::optional<QPointF>& center);

    // --- Header, version row and analytics notice ------------------------------------
    void historyButtonTapped();
    void bugReportButtonTapped();
    void settingsButtonTapped();
    // A user-initiated update check, whatever the update's phase.
    void versionButtonTapped();
    // Both buttons of the notice acknowledge it for good; "Einstellungen"
    // opens the settings too.
    void openSettingsFromNotice();
    void acknowledgeAnalyticsNotice();

    // --- Lifecycle -------------------------------------------------------------------
    void handleAppear();
    void handleDisappear();
    // The active-session view is shown in the setup content's place: the setup
    // sounds linger out.
    void handleActiveSessionShown();

    // --- Start (the "ENTER VESK" control) ------------------------------------------
    // Refused with a warning unless an application is selected, both
    // permissions are granted and the animator is idle; otherwise saves the
    // goal, plays the start sound and runs the animation, whose end starts the
    // session.
    void triggerAbsorption();

    // --- Permission banner -------------------------------------------------------------
    // Asks for Accessibility when it is missing (Input Monitoring waits for the
    // next press), else for Input Monitoring, opens the settings pane, then
    // refreshes both and polls.
    void requestMissingPermissions();
    // Opens a new instance of our own bundle, then terminates this one through
    // the normal termination path; a failure is logged and this one runs on.
    void relaunchApp();

    // --- Parts the operations above use; public for the views and tests ---------
    void refreshInputMonitoringPermission(const QString& reason);
    void refreshAccessibilityPermission(const QString& reason);
    void schedulePermissionPoll(int remaining, double interval);
    void cancelPendingPermissionRefresh();
    void saveGoalDraftImmediately();

signals:
    void changed();

private:
    void absorptionCompleted();
    void persistSelection();
    void scheduleGoalDraftSave();
    void saveGoalDraft(const QString& text);
    void startPermissionPoll();
    void logPermissionRefresh(const QString& name, const QString& reason, bool granted, bool changedValue);
    QString permissionDiagnostics() const;
    WormveskStyle resolvedStyle() const;

    SessionSetupServices services_;
    WormveskAnimator animator_;
    SetupSoundService soundService_;
    VeskLogger logger_{QStringLiteral("SessionSetupView")};
    std::optional<WormveskStyle> activeStyle_;
    std::shared_ptr<CurrentAllowlist> allowlist_;
    std::set<QString> selectedBundleIDs_;
    qint64 sessionDuration_ = 900;
    bool sessionHardcore_ = false;
    QString sessionGoalText_;
    WorkItem pendingGoalSave_;
    // The text the pending goal save will write, so a disappearance can flush it.
    QString pendingGoalText_;
    WorkItem pendingPermissionRefresh_;
    QString searchText_;
    std::vector<InstalledApp> installedApps_;
    bool hasInputMonitoringPermission_ = true;
    bool hasAccessibilityPermission_ = true;
    bool isMetaPopoverShown_ = false;
    bool isHistoryPresented_ = false;
    bool isBugReportPresented_ = false;
    std::map<QString, QRectF> iconFrames_;
    QPointF logoCenter_;
    std::optional<QDateTime> setupAppearedAt_;
};

} // namespace vesk
