#include "enforcement/DockPreferenceBackupState.h"

#include "enforcement/TaggedCase.h"

namespace vesk {

namespace {

const QString missingCase = QStringLiteral("missing");
const QString existingCase = QStringLiteral("existing");

} // namespace

std::variant<QJsonObject, QString> DockPreferenceBackupState::toJson(const QString& codingPath) const
{
    if (!existing)
        return TaggedCase{missingCase, {}}.toJson();
    auto value = existing->toJson(TaggedCase::path(TaggedCase::path(codingPath, existingCase), QStringLiteral("_0")));
    if (const QString* failure = std::get_if<QString>(&value))
        return *failure;
    return TaggedCase::withValue(existingCase, std::get<QJsonObject>(value));
}

std::variant<DockPreferenceBackupState, QString> DockPreferenceBackupState::fromJson(const QJsonValue& json,
                                                                                     const QString& codingPath)
{
    const auto decoded = TaggedCase::decode(json, codingPath);
    if (const QString* failure = std::get_if<QString>(&decoded))
        return *failure;
    const TaggedCase& tagged = std::get<TaggedCase>(decoded);
    if (tagged.name == missingCase)
        return missing();
    if (tagged.name != existingCase)
        return TaggedCase::failure(QStringLiteral("Unknown case \"%1\".").arg(tagged.name), codingPath);
    const auto inner = tagged.value(codingPath);
    if (const QString* failure = std::get_if<QString>(&inner))
        return *failure;
    const auto value = DockPreferenceValue::fromJson(std::get<QJsonValue>(inner),
                                                     TaggedCase::path(TaggedCase::path(codingPath, existingCase),
                                                                      QStringLiteral("_0")));
    if (const QString* failure = std::get_if<QString>(&value))
        return *failure;
    return existingValue(std::get<DockPreferenceValue>(value));
}

} // namespace vesk
