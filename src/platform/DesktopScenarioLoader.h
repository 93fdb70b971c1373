#pragma once

#include "platform/DesktopScenario.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vesk::platform {

// A scenario, or the reason there is none: the error names the field, as in
// "applications[1].windows[0].bounds: expected an array of four numbers".
struct ScenarioLoadResult {
    std::optional<DesktopScenario> scenario;
    QString error;

    bool ok() const { return scenario.has_value(); }
};

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
