#pragma once

#include "platform/simulated/ScenarioLoadResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vesk::platform {

// Reads desktop scenarios from JSON (the format is described in
// docs/ARCHITECTURE.md). Never throws: a malformed file gives an error result.
class DesktopScenarioLoader {
public:
    static ScenarioLoadResult parse(const QByteArray& json);
    static ScenarioLoadResult loadFile(const QString& path);
    // The scenario shipped with the application (two displays, a browser, an
    // editor, a terminal and a chat application).
    static ScenarioLoadResult loadDefault();

    static inline const QString defaultScenarioResource = QStringLiteral(":/scenarios/default-desktop.json");
};

} // namespace vesk::platform
