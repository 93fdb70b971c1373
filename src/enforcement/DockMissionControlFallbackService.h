#pragma once

#include "enforcement/DockCommandRunning.h"
#include "enforcement/DockPreferenceBackupState.h"
#include "enforcement/DockPreferenceValue.h"
#include "enforcement/EmergencyRestoring.h"
#include "logging/VeskLogger.h"

#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {

class UserDefaults;

// Switches off, in the Dock itself, what could take the user to another
// Space during a session: Mission Control, App Exposé and Show Desktop with
// their trackpad gestures, the switch to another Space when an application is
// activated, and the visible Dock (hidden, revealed only after 1000 s). It
// writes seven keys of "com.apple.dock" with "/usr/bin/defaults" and restarts
// the Dock with "/usr/bin/killall Dock".
//
// The user's own values are backed up first, in memory and at once in the
// user defaults ("DockMissionControlFallbackService.backupByKey"), and go back
// at deactivation, or from the stored backup at the next launch or at
// termination when a session ended without it. A stored backup that decodes
// is always reused instead of read again, so values forced by a run that
// crashed are never taken for the user's. Releasing the service restores
// nothing. The application has one instance; the Space blocker switches it
// and the delegate restores through it. Main thread only.
class DockMissionControlFallbackService final : public EmergencyRestoring {
public:
    struct ForcedPreference {
        QString key;
        DockPreferenceValue value;
    };

    static inline const QString backupDefaultsKey = QStringLiteral("DockMissionControlFallbackService.backupByKey");
    static inline const QString dockDomain = QStringLiteral("com.apple.dock");
    static inline const QString defaultsToolPath = QStringLiteral("/usr/bin/defaults");
    static inline const QString killallToolPath = QStringLiteral("/usr/bin/killall");

    // The seven keys with their session values, in the order in which they
    // are read, written and restored.
    static const std::vector<ForcedPreference>& forcedDockPreferences();

    // `defaults` holds the stored backup and outlives the service.
    DockMissionControlFallbackService(std::unique_ptr<DockCommandRunning> commandRunner, UserDefaults& defaults);
    ~DockMissionControlFallbackService() override;
    DockMissionControlFallbackService(const DockMissionControlFallbackService&) = delete;
    DockMissionControlFallbackService& operator=(const DockMissionControlFallbackService&) = delete;

    // Backup (reused when stored), the seven writes, the Dock restart.
    void activate();
    // Restore, Dock restart, backup cleared. Nothing while inactive.
    void deactivate();
    // Restores from the backup in memory or the stored one, restarts the Dock
    // and clears the backup; silent when there is neither.
    void emergencyRestore() override;

    bool isActive() const { return isActive_; }
    const std::map<QString, DockPreferenceBackupState>& backupByKey() const { return backupByKey_; }

    // The JSON document of a backup, as stored; the reason when a value has no JSON form.
    static std::variant<QByteArray, QString> encodeBackup(const std::map<QString, DockPreferenceBackupState>& backup);
    static std::variant<std::map<QString, DockPreferenceBackupState>, QString> decodeBackup(const QByteArray& json);

private:
    DockPreferenceBackupState readValue(const ForcedPreference& entry);
    void captureBackup();
    void persistBackup();
    std::optional<std::map<QString, DockPreferenceBackupState>> loadPersistedBackup();
    void writeValue(const DockPreferenceValue& value, const QString& key, const QString& reason);
    void deleteValue(const QString& key, const QString& reason);
    void restartDock(const QString& reason);
    void restoreFromBackup();
    void clearBackup();

    std::unique_ptr<DockCommandRunning> commandRunner_;
    UserDefaults& defaults_;
    VeskLogger logger_{QStringLiteral("DockMissionControlFallbackService")};
    std::map<QString, DockPreferenceBackupState> backupByKey_;
    bool isActive_ = false;
};

} // namespace vesk
