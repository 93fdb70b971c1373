#include "enforcement/ScreenshotThumbnailSuppressionService.h"

#include "core/TextFormat.h"
#include "core/UserDefaults.h"
#include "enforcement/DockMissionControlFallbackService.h"
#include "enforcement/TaggedCase.h"

#include <QJsonDocument>

namespace vesk {

namespace {

const QString absentCase = QStringLiteral("absent");
const QString boolCase = QStringLiteral("bool");

} // namespace

QByteArray ScreenshotThumbnailSuppressionService::BackupState::toJson() const
{
    const QJsonObject object = value ? TaggedCase::withValue(boolCase, *value) : TaggedCase{absentCase, {}}.toJson();
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

std::variant<ScreenshotThumbnailSuppressionService::BackupState, QString>
ScreenshotThumbnailSuppressionService::BackupState::fromJson(const QByteArray& json)
{
    const auto parsed = TaggedCase::parseObject(json, QStringLiteral("Expected an object with one member."));
    if (const QString* failure = std::get_if<QString>(&parsed))
        return *failure;
    const auto decoded = TaggedCase::decode(std::get<QJsonObject>(parsed), QString());
    if (const QString* failure = std::get_if<QString>(&decoded))
        return *failure;
    const TaggedCase& tagged = std::get<TaggedCase>(decoded);
    if (tagged.name == absentCase)
        return absent();
    if (tagged.name != boolCase)
        return TaggedCase::failure(QStringLiteral("Unknown case \"%1\".").arg(tagged.name), QString());
    const auto inner = tagged.value(QString());
    if (const QString* failure = std::get_if<QString>(&inner))
        return *failure;
    const QJsonValue& value = std::get<QJsonValue>(inner);
    if (!value.isBool())
        return TaggedCase::failure(QStringLiteral("Expected to decode a boolean."), QStringLiteral("bool._0"));
    return BackupState{value.toBool()};
}

ScreenshotThumbnailSuppressionService::ScreenshotThumbnailSuppressionService(
    std::unique_ptr<DockCommandRunning> commandRunner, UserDefaults& defaults)
    : commandRunner_(std::move(commandRunner))
    , defaults_(defaults)
{
}

ScreenshotThumbnailSuppressionService::~ScreenshotThumbnailSuppressionService() = default;

DockCommandResult ScreenshotThumbnailSuppressionService::runDefaults(const QStringList& arguments)
{
    return commandRunner_->run(DockMissionControlFallbackService::defaultsToolPath, arguments);
}

std::optional<ScreenshotThumbnailSuppressionService::BackupState>
ScreenshotThumbnailSuppressionService::loadPersistedBackup()
{
    const std::optional<QByteArray> data = defaults_.dataForKey(backupDefaultsKey);
    if (!data)
        return std::nullopt;
    const auto decoded = BackupState::fromJson(*data);
    if (const QString* failure = std::get_if<QString>(&decoded)) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to load screenshot thumbnail backup: ") + *failure);
        return std::nullopt;
    }
    return std::get<BackupState>(decoded);
}

ScreenshotThumbnailSuppressionService::BackupState ScreenshotThumbnailSuppressionService::captureCurrentValue()
{
    const DockCommandResult result = runDefaults({QStringLiteral("read"), screencaptureDomain, thumbnailKey});
    if (result.exitStatus != 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("No existing screenshot thumbnail preference to back up"));
        return BackupState::absent();
    }
    const QString lowered = result.standardOutput.trimmed().toLower();
    const bool enabled =
        lowered == QLatin1String("1") || lowered == QLatin1String("true") || lowered == QLatin1String("yes");
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Backed up screenshot thumbnail preference — enabled=") + boolText(enabled));
    return BackupState{enabled};
}

void ScreenshotThumbnailSuppressionService::persistBackup()
{
    if (!backupState_)
        return;
    defaults_.setData(backupDefaultsKey, backupState_->toJson());
    logger_.log(VeskLogLevel::debug, QStringLiteral("Persisted screenshot thumbnail backup"));
}

void ScreenshotThumbnailSuppressionService::writeValue(bool enabled)
{
    const DockCommandResult result = runDefaults(
        {QStringLiteral("write"), screencaptureDomain, thumbnailKey, QStringLiteral("-bool"), boolText(enabled)});
    if (result.exitStatus == 0) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Wrote screenshot thumbnail preference — enabled=") + boolText(enabled));
    } else {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Failed to write screenshot thumbnail preference — stderr=") + result.standardError);
    }
}

void ScreenshotThumbnailSuppressionService::restoreFromBackup()
{
    std::optional<BackupState> state = backupState_ ? backupState_ : loadPersistedBackup();
    if (!state) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("No screenshot thumbnail preference backup available during deactivate"));
        return;
    }
    if (state->value) {
        writeValue(*state->value);
        return;
    }
    const DockCommandResult result = runDefaults({QStringLiteral("delete"), screencaptureDomain, thumbnailKey});
    if (result.exitStatus == 0) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Deleted temporary screenshot thumbnail preference"));
    } else {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Failed to delete temporary screenshot thumbnail preference — stderr=")
                        + result.standardError);
    }
}

void ScreenshotThumbnailSuppressionService::clearBackup()
{
    backupState_.reset();
    defaults_.removeObject(backupDefaultsKey);
    isActive_ = false;
}

void ScreenshotThumbnailSuppressionService::activate()
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("activate called while already active"));
        return;
    }
    if (std::optional<BackupState> persisted = loadPersistedBackup()) {
        backupState_ = persisted;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Existing thumbnail backup found — reusing pre-VESK value instead of re-capturing"));
    } else {
        backupState_ = captureCurrentValue();
        persistBackup();
    }
    writeValue(false);
    isActive_ = true;
    logger_.log(VeskLogLevel::info, QStringLiteral("Screenshot floating thumbnail disabled for active Vesk session"));
}

void ScreenshotThumbnailSuppressionService::deactivate()
{
    if (!isActive_)
        return;
    restoreFromBackup();
    clearBackup();
    logger_.log(VeskLogLevel::info, QStringLiteral("Screenshot floating thumbnail preference restored"));
}

void ScreenshotThumbnailSuppressionService::emergencyRestore()
{
    if (!isActive_ && !backupState_ && !loadPersistedBackup())
        return;
    logger_.log(VeskLogLevel::warning, QStringLiteral("Emergency restore for screenshot thumbnail preference"));
    restoreFromBackup();
    clearBackup();
}

} // namespace vesk
