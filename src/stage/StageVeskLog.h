#pragma once

#include "stage/StageVeskScreenID.h"

#include "logging/VeskLogLevel.h"

#include <QString>

#include <optional>
#include <set>

namespace vesk {

// Every part of the stage writes under the service's category, each line
// starting with "[StageVeskService] ".
void logStage(VeskLogLevel level, const QString& message);

// The display number, "none" without a screen.
QString screenText(std::optional<StageVeskScreenID> screen);
// The identifiers in the log's list form, in their set order.
QString listText(const std::set<QString>& items);

} // namespace vesk
