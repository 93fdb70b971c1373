#pragma once

#include "core/WorkItem.h"
#include "enforcement/DesktopIsolating.h"
#include "enforcement/DesktopIsolationRecovering.h"
#include "logging/VeskLogger.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vesk::platform {
class OwnWindowRegistering;
class ScreenChangeObserving;
class ScreenProviding;
struct ScreenInfo;
} // namespace vesk::platform

namespace vesk {

class BlackDesktopPanel;
class Scheduler;
class UserDefaults;

// Covers every display's desktop with a black panel during a session (the
// desktop picture stays as it is, hidden behind it), and keeps one panel per
// display as displays come, go or change size, 0.3 s after the last change.
// A panel belongs to its display by the display's number (by its name when it
// has none), so a display that changes resolution keeps its panel, refitted.
//
// It never writes a desktop picture: a legacy wallpaper backup an earlier
// version left in the user defaults ("DesktopIsolationService.wallpaperBackup")
// is logged and removed at launch and at every emergency restore.
//
// The application has one instance: the session switches it, the delegate
// recovers through it. Its four operations may be called from any thread;
// off the main thread they wait until the work has run on the main queue.
// Releasing the service takes its panels with it.
class DesktopIsolationService final : public DesktopIsolating, public DesktopIsolationRecovering {
public:
    static constexpr double screenChangeDebounceInterval = 0.3;
    static inline const QString legacyWallpaperBackupKey = QStringLiteral("DesktopIsolationService.wallpaperBackup");

    // The platform parts and `userDefaults` outlive the service.
    DesktopIsolationService(Scheduler& scheduler, const platform::ScreenProviding& screens,
                            const platform::ScreenChangeObserving& screenChanges,
                            platform::OwnWindowRegistering& ownWindows, UserDefaults& userDefaults);
    ~DesktopIsolationService() override;
    DesktopIsolationService(const DesktopIsolationService&) = delete;
    DesktopIsolationService& operator=(const DesktopIsolationService&) = delete;

    void activate() override;
    void deactivate() override;
    // At launch: dismisses panels still shown and clears the legacy backup.
    void recoverIfNeeded() override;
    // Takes desktop isolation down and clears the legacy backup.
    void emergencyRestore() override;

    bool isActive() const { return isActive_; }
    // The panels, in the order their displays came.
    std::vector<BlackDesktopPanel*> panels() const;
    bool hasPendingScreenSync() const { return screenChangeDebounceWork_.isPending(); }

private:
    struct PanelRecord {
        QString screenKey;
        std::unique_ptr<BlackDesktopPanel> panel;
    };

    void runOnMainThread(const std::function<void()>& work);
    void activateOnMain();
    void installScreenObserver();
    void removeScreenObserver();
    void handleScreenParametersChanged();
    void screenChangeDebounceFired();
    void syncPanels(const QString& reason);
    void addPanel(const platform::ScreenInfo& screen);
    void dismissAllPanels(const QString& reason);
    void deactivateWithReason(const QString& reason);
    void clearLegacyWallpaperBackup(const QString& reason);

    Scheduler& scheduler_;
    const platform::ScreenProviding& screens_;
    const platform::ScreenChangeObserving& screenChanges_;
    platform::OwnWindowRegistering& ownWindows_;
    UserDefaults& userDefaults_;
    VeskLogger logger_{QStringLiteral("DesktopIsolationService")};
    std::vector<PanelRecord> panelsByScreen_;
    // The screen-change observer lives as long as this receiver.
    std::unique_ptr<QObject> screenObserver_;
    WorkItem screenChangeDebounceWork_;
    bool isActive_ = false;
    // Work queued for the main thread holds the service weakly through it.
    std::shared_ptr<int> lifetime_ = std::make_shared<int>(0);
};

} // namespace vesk
