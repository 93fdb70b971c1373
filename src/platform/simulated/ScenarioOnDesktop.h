#pragma once

#include <QString>

namespace vesk::platform {

class SimulatedDesktop;
struct DesktopScenario;

// Builds the whole desktop of a scenario on an empty desktop: Vesk's identity,
// permissions, machine, displays, defaults domains, the Finder and the Dock
// when the scenario has the system's applications, bundles and running
// applications, and the application in front. Returns the error, empty on
// success.
QString buildScenarioOnDesktop(SimulatedDesktop& desktop, const DesktopScenario& scenario);

} // namespace vesk::platform
