#pragma once

#include "enforcement/DockCommandRunning.h"
#include "enforcement/EmergencyRestoring.h"
#include "enforcement/ScreenshotThumbnailSuppressing.h"
#include "logging/VeskLogger.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <variant>

namespace vesk {

class UserDefaults;

// Switches off the floating thumbnail the screenshot tool shows after a
// capture: "show-thumbnail" of "com.apple.screencapture" is written false with
// "/usr/bin/defaults", after the user's own setting (or its absence) was
// backed up in memory and at once in the user defaults
// ("ScreenshotThumbnailSuppressionService.backup"). Deactivation writes the
// user's value back or deletes the key; the stored backup lets the launch and
// the termination do the same after a session that ended without it. A stored
// backup that decodes is reused instead of read again. No process is
// restarted. Releasing the service restores nothing. Main thread only.
//
// The application has two instances that share only the stored backup: the
// session's own, which it switches, and the one the delegate restores through,
// which is never activated.
class ScreenshotThumbnailSuppressionService final : public ScreenshotThumbnailSuppressing, public EmergencyRestoring {
public:
    // The setting before the session: no value (absent) or the value it had.
    struct BackupState {
        // None: the key was absent; true: thumbnails were shown.
        std::optional<bool> value;

        static BackupState absent() { return {}; }
        // {"absent":{}} or {"bool":{"_0":true}}.
        QByteArray toJson() const;
        static std::variant<BackupState, QString> fromJson(const QByteArray& json);

        bool operator==(const BackupState&) const = default;
    };

    static inline const QString backupDefaultsKey = QStringLiteral("ScreenshotThumbnailSuppressionService.backup");
    static inline const QString screencaptureDomain = QStringLiteral("com.apple.screencapture");
    static inline const QString thumbnailKey = QStringLiteral("show-thumbnail");

    // `defaults` holds the stored backup and outlives the service.
    ScreenshotThumbnailSuppressionService(std::unique_ptr<DockCommandRunning> commandRunner, UserDefaults& defaults);
    ~ScreenshotThumbnailSuppressionService() override;
    ScreenshotThumbnailSuppressionService(const ScreenshotThumbnailSuppressionService&) = delete;
    ScreenshotThumbnailSuppressionService& operator=(const ScreenshotThumbnailSuppressionService&) = delete;

    void activate() override;
    // Always logs "Screenshot floating thumbnail preference restored" when it
    // was active, also when there was nothing to restore.
    void deactivate() override;
    // Silent when inactive with no backup in memory or stored.
    void emergencyRestore() override;

    bool isActive() const { return isActive_; }
    const std::optional<BackupState>& backupState() const { return backupState_; }

private:
    std::optional<BackupState> loadPersistedBackup();
    BackupState captureCurrentValue();
    void persistBackup();
    void writeValue(bool enabled);
    void restoreFromBackup();
    void clearBackup();
    DockCommandResult runDefaults(const QStringList& arguments);

    std::unique_ptr<DockCommandRunning> commandRunner_;
    UserDefaults& defaults_;
    VeskLogger logger_{QStringLiteral("ScreenshotThumbnailSuppressionService")};
    std::optional<BackupState> backupState_;
    bool isActive_ = false;
};

} // namespace vesk
