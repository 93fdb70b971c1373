#include "enforcement/DockMissionControlFallbackService.h"

#include "core/UserDefaults.h"
#include "enforcement/TaggedCase.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace vesk {

const std::vector<DockMissionControlFallbackService::ForcedPreference>&
DockMissionControlFallbackService::forcedDockPreferences()
{
    static const std::vector<ForcedPreference> table{
        {QStringLiteral("mcx-expose-disabled"), {true}},
        {QStringLiteral("showMissionControlGestureEnabled"), {false}},
        {QStringLiteral("showAppExposeGestureEnabled"), {false}},
        {QStringLiteral("showDesktopGestureEnabled"), {false}},
        {QStringLiteral("workspaces-auto-swoosh"), {false}},
        {QStringLiteral("autohide"), {true}},
        {QStringLiteral("autohide-delay"), {1000.0}},
    };
    return table;
}

DockMissionControlFallbackService::DockMissionControlFallbackService(std::unique_ptr<DockCommandRunning> commandRunner,
                                                                     UserDefaults& defaults)
    : commandRunner_(std::move(commandRunner))
    , defaults_(defaults)
{
}

DockMissionControlFallbackService::~DockMissionControlFallbackService() = default;

std::variant<QByteArray, QString>
DockMissionControlFallbackService::encodeBackup(const std::map<QString, DockPreferenceBackupState>& backup)
{
    QJsonObject object;
    for (const auto& [key, state] : backup) {
        auto json = state.toJson(key);
        if (const QString* failure = std::get_if<QString>(&json))
            return *failure;
        object.insert(key, std::get<QJsonObject>(json));
    }
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::variant<std::map<QString, DockPreferenceBackupState>, QString>
DockMissionControlFallbackService::decodeBackup(const QByteArray& json)
{
    const auto parsed = TaggedCase::parseObject(json, QStringLiteral("Expected a dictionary of backup states."));
    if (const QString* failure = std::get_if<QString>(&parsed))
        return *failure;
    std::map<QString, DockPreferenceBackupState> backup;
    const QJsonObject& object = std::get<QJsonObject>(parsed);
    for (auto it = object.begin(); it != object.end(); ++it) {
        auto state = DockPreferenceBackupState::fromJson(it.value(), it.key());
        if (const QString* failure = std::get_if<QString>(&state))
            return *failure;
        backup.emplace(it.key(), std::get<DockPreferenceBackupState>(state));
    }
    return backup;
}

DockPreferenceBackupState DockMissionControlFallbackService::readValue(const ForcedPreference& entry)
{
    const DockCommandResult result =
        commandRunner_->run(defaultsToolPath, {QStringLiteral("read"), dockDomain, entry.key});
    if (result.exitStatus != 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Backup read: key=%1 missing (stderr=%2)")
                                             .arg(entry.key, result.standardError.trimmed()));
        return DockPreferenceBackupState::missing();
    }
    const DockPreferenceValue value = DockPreferenceValue::parse(result.standardOutput, entry.value);
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Backup read: key=%1 value=%2").arg(entry.key, value.description()));
    return DockPreferenceBackupState::existingValue(value);
}

void DockMissionControlFallbackService::captureBackup()
{
    backupByKey_.clear();
    for (const ForcedPreference& entry : forcedDockPreferences())
        backupByKey_[entry.key] = readValue(entry);
}

void DockMissionControlFallbackService::persistBackup()
{
    const auto encoded = encodeBackup(backupByKey_);
    if (const QString* failure = std::get_if<QString>(&encoded)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to persist Dock fallback backup: ") + *failure);
        return;
    }
    defaults_.setData(backupDefaultsKey, std::get<QByteArray>(encoded));
    logger_.log(VeskLogLevel::debug, QStringLiteral("Persisted Dock fallback backup"));
}

std::optional<std::map<QString, DockPreferenceBackupState>> DockMissionControlFallbackService::loadPersistedBackup()
{
    const std::optional<QByteArray> data = defaults_.dataForKey(backupDefaultsKey);
    if (!data)
        return std::nullopt;
    auto decoded = decodeBackup(*data);
    if (const QString* failure = std::get_if<QString>(&decoded)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to load persisted Dock fallback backup: ") + *failure);
        return std::nullopt;
    }
    return std::get<std::map<QString, DockPreferenceBackupState>>(std::move(decoded));
}

void DockMissionControlFallbackService::writeValue(const DockPreferenceValue& value, const QString& key,
                                                   const QString& reason)
{
    const DockCommandResult result =
        commandRunner_->run(defaultsToolPath,
                            QStringList{QStringLiteral("write"), dockDomain, key} + value.writeArguments());
    if (result.exitStatus == 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Defaults write (%1) success: key=%2, value=%3")
                                             .arg(reason, key, value.description()));
    } else {
        logger_.log(VeskLogLevel::error, QStringLiteral("Defaults write (%1) failed: key=%2, stderr=%3")
                                             .arg(reason, key, result.standardError.trimmed()));
    }
}

void DockMissionControlFallbackService::deleteValue(const QString& key, const QString& reason)
{
    const DockCommandResult result = commandRunner_->run(defaultsToolPath, {QStringLiteral("delete"), dockDomain, key});
    if (result.exitStatus == 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Defaults delete (%1) success: key=%2").arg(reason, key));
    } else {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Defaults delete (%1) failed: key=%2, stderr=%3")
                                               .arg(reason, key, result.standardError.trimmed()));
    }
}

void DockMissionControlFallbackService::restartDock(const QString& reason)
{
    const DockCommandResult result = commandRunner_->run(killallToolPath, {QStringLiteral("Dock")});
    if (result.exitStatus == 0) {
        logger_.log(VeskLogLevel::info, QStringLiteral("Dock restarted (%1)").arg(reason));
    } else {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dock restart failed (%1): %2").arg(reason, result.standardError.trimmed()));
    }
}

void DockMissionControlFallbackService::restoreFromBackup()
{
    if (backupByKey_.empty())
        backupByKey_ = loadPersistedBackup().value_or(std::map<QString, DockPreferenceBackupState>());
    for (const ForcedPreference& entry : forcedDockPreferences()) {
        const auto it = backupByKey_.find(entry.key);
        if (it == backupByKey_.end())
            continue;
        if (it->second.isMissing())
            deleteValue(entry.key, QStringLiteral("restore"));
        else
            writeValue(*it->second.existing, entry.key, QStringLiteral("restore"));
    }
}

void DockMissionControlFallbackService::clearBackup()
{
    backupByKey_.clear();
    defaults_.removeObject(backupDefaultsKey);
    isActive_ = false;
}

void DockMissionControlFallbackService::activate()
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while fallback is already active"));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Activating Dock Mission Control fallback"));
    if (auto persisted = loadPersistedBackup()) {
        backupByKey_ = std::move(*persisted);
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Existing Dock backup found — reusing pre-VESK values instead of re-capturing"));
    } else {
        captureBackup();
        persistBackup();
    }
    for (const ForcedPreference& entry : forcedDockPreferences())
        writeValue(entry.value, entry.key, QStringLiteral("activate"));
    restartDock(QStringLiteral("fallback-activate"));
    isActive_ = true;
}

void DockMissionControlFallbackService::deactivate()
{
    if (!isActive_)
        return;
    logger_.log(VeskLogLevel::info, QStringLiteral("Deactivating Dock Mission Control fallback"));
    restoreFromBackup();
    restartDock(QStringLiteral("fallback-deactivate"));
    clearBackup();
}

void DockMissionControlFallbackService::emergencyRestore()
{
    if (!isActive_ && backupByKey_.empty() && !loadPersistedBackup())
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Emergency restore for Dock Mission Control fallback"));
    restoreFromBackup();
    restartDock(QStringLiteral("fallback-emergency-restore"));
    clearBackup();
}

} // namespace vesk
