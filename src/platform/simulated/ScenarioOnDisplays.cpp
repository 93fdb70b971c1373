#include "platform/simulated/ScenarioOnDisplays.h"

#include <algorithm>

namespace vesk::platform {

namespace {

// The scenario display a window is on: the one it names, else the one that
// holds most of it, else the first.
int scenarioDisplayOf(const WindowSpec& window, const std::vector<DisplaySpec>& displays)
{
    if (window.display)
        return std::clamp(*window.display, 0, int(displays.size()) - 1);
    int best = 0;
    double bestArea = 0;
    for (int i = 0; i < int(displays.size()); ++i) {
        const QRectF overlap = window.bounds.intersected(displays[i].bounds);
        const double area = overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
        if (area > bestArea) {
            bestArea = area;
            best = i;
        }
    }
    return best;
}

QRectF fittedInto(QRectF bounds, const QRectF& area)
{
    bounds.setSize(bounds.size().boundedTo(area.size()));
    bounds.moveLeft(std::clamp(bounds.left(), area.left(), area.right() - bounds.width()));
    bounds.moveTop(std::clamp(bounds.top(), area.top(), area.bottom() - bounds.height()));
    return bounds;
}

void moveWindow(WindowSpec& window, const std::vector<DisplaySpec>& from, const std::vector<DisplaySpec>& to)
{
    const int source = from.empty() ? 0 : scenarioDisplayOf(window, from);
    const int target = std::min(source, int(to.size()) - 1);
    const QPointF origin = from.empty() ? QPointF() : from[source].bounds.topLeft();
    window.bounds = fittedInto(window.bounds.translated(to[target].bounds.topLeft() - origin), to[target].bounds);
    window.display = target;
}

} // namespace

DesktopScenario scenarioOnDisplays(DesktopScenario scenario, const std::vector<DisplaySpec>& displays)
{
    if (displays.empty())
        return scenario;
    const std::vector<DisplaySpec> original = std::move(scenario.displays);
    scenario.displays = displays;
    for (int i = 0; i < int(displays.size()) && i < int(original.size()); ++i)
        scenario.displays[i].spaceCount = original[i].spaceCount;
    for (ApplicationSpec& application : scenario.applications) {
        for (WindowSpec& window : application.windows)
            moveWindow(window, original, displays);
    }
    for (BundleSpec& bundle : scenario.bundles) {
        for (WindowSpec& window : bundle.launch.windows)
            moveWindow(window, original, displays);
    }
    return scenario;
}

} // namespace vesk::platform
