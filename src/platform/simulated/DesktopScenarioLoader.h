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
    // Limits that every real desktop fits: an 8K display at scale 1 has
    // 7680 × 4320 points. A larger scenario is refused before anything is
    // built from it (each display is drawn into images of its size).
    static constexpr int maximumDisplays = 16;
    static constexpr double maximumDisplaySide = 8192;
    // Every coordinate and extent of a display or window, in points.
    static constexpr double maximumCoordinate = 131072;
    // Windows over every running application and every bundle's launch.
    static constexpr int maximumWindows = 2048;

    static ScenarioLoadResult parse(const QByteArray& json);
    static ScenarioLoadResult loadFile(const QString& path);
    // The scenario shipped with the application (two displays, a browser, an
    // editor, a terminal and a chat application).
    static ScenarioLoadResult loadDefault();

    static inline const QString defaultScenarioResource = QStringLiteral(":/scenarios/default-desktop.json");
};

} // namespace vesk::platform
