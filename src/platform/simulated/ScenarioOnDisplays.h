#pragma once

#include "platform/simulated/DesktopScenario.h"

#include <vector>

namespace vesk::platform {

// The scenario on other displays (the machine's own screens, say): each
// display keeps the number of Spaces of the scenario's display in its place,
// and every window of the running applications and of the bundles' launches
// moves from its display to the display in the same place (the last one when
// there are fewer), keeping its offset from the display's corner, and is
// shrunk and moved as needed to lie within it. With no displays given the
// scenario stays as it is.
DesktopScenario scenarioOnDisplays(DesktopScenario scenario, const std::vector<DisplaySpec>& displays);

} // namespace vesk::platform
