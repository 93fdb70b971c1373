#pragma once

#include "enforcement/DockPreferenceValue.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include <optional>
#include <variant>

namespace vesk {

// What a Dock setting held before the session: no value at all (missing),
// or the value it had (existing).
struct DockPreferenceBackupState {
    // None: the key was missing.
    std::optional<DockPreferenceValue> existing;

    static DockPreferenceBackupState missing() { return {}; }
    static DockPreferenceBackupState existingValue(DockPreferenceValue value) { return {std::move(value)}; }
    bool isMissing() const { return !existing.has_value(); }

    // {"missing":{}} or {"existing":{"_0":<value>}}; the reason when the
    // value has no JSON form.
    std::variant<QJsonObject, QString> toJson(const QString& codingPath) const;
    static std::variant<DockPreferenceBackupState, QString> fromJson(const QJsonValue& json, const QString& codingPath);

    bool operator==(const DockPreferenceBackupState&) const = default;
};

} // namespace vesk
