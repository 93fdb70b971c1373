#pragma once

#include "platform/simulated/DesktopScenario.h"

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

} // namespace vesk::platform
