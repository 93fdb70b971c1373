#pragma once

#include "platform/Identifiers.h"

#include <QString>

#include <optional>

namespace vesk::platform {

// Vesk's own process and main bundle. The bundle identifier may be missing, as
// may the version entries.
struct OwnApplicationSpec {
    ProcessID pid = 4242;
    std::optional<QString> bundleIdentifier = QStringLiteral("com.vesk.app");
    QString name = QStringLiteral("Vesk");
    std::optional<QString> version = QStringLiteral("1.0.0");
    std::optional<QString> build = QStringLiteral("1");

    bool operator==(const OwnApplicationSpec&) const = default;
};

} // namespace vesk::platform
