// The click decision that the mouse blocker's tap runs for every mouse-down:
// 40 application windows (8 of them allowed) on 2 displays, Vesk's overlay,
// backing and 6 session panels in the window list, 6 registered panel rects
// and 20 holes. The click lands in the last hole, so every step runs and
// every hole is looked at.

#include "enforcement/MouseBlockerClickDecision.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "platform/WindowLevel.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vesk;

const QString vesk = QStringLiteral("com.vesk.app");

AllowedWindowSnapshot window(const QString& bundleID, Rect quartzBounds, int layer = 0)
{
    AllowedWindowSnapshot snapshot;
    snapshot.bundleID = bundleID;
    snapshot.bounds = quartzBounds;
    snapshot.layer = layer;
    return snapshot;
}

struct SessionScene {
    DisplayGeometry geometry{{{Rect{0, 0, 1440, 900}, Rect{0, 0, 1440, 900}},
                              {Rect{1440, -180, 1920, 1080}, Rect{1440, 0, 1920, 1080}}}};
    std::vector<AllowedWindowSnapshot> snapshots;
    std::set<QString> allowed;
    std::vector<Rect> holes;
    std::vector<Rect> registeredPanels;
    Point click;

    SessionScene()
    {
        // Front to back: Vesk's session panels, its overlay panels, the
        // applications' windows, its backing panels.
        for (int panel = 0; panel < 6; ++panel) {
            const Rect frame{40.0 + 230 * panel, 850, 200, 40};
            snapshots.push_back(window(vesk, frame, platform::shieldingWindowLevel() + 2));
            registeredPanels.push_back(Rect{frame.x, 900 - frame.maxY(), frame.width, frame.height});
        }
        for (const auto& display : geometry.displayFrames())
            snapshots.push_back(window(vesk, display.quartzFrame, OverlayPanel::windowLevel()));
        // Sixteen other applications cascade across both displays in front
        // of four allowed ones, cutting them into many visible pieces.
        for (int app = 0; app < 20; ++app) {
            const QString bundleID = QStringLiteral("com.example.app%1").arg(app);
            const bool isAllowed = app >= 16;
            if (isAllowed)
                allowed.insert(bundleID);
            for (int copy = 0; copy < 2; ++copy) {
                const int slot = isAllowed ? (app - 16) * 2 + copy : app * 2 + copy;
                const double left = isAllowed ? 60.0 + slot * 400 : 20.0 + (slot % 16) * 205;
                const double top = isAllowed ? 120.0 + (slot % 2) * 200 : 40.0 + (slot / 16) * 290;
                const Size size = isAllowed ? Size{560, 520} : Size{150, 140};
                snapshots.push_back(window(bundleID, Rect{left, top, size.width, size.height}));
            }
        }
        for (const auto& display : geometry.displayFrames())
            snapshots.push_back(window(vesk, display.quartzFrame, OverlayBackingPanel::windowLevel()));

        const auto fragments = classifyWindowSnapshots(snapshots, allowed, vesk, geometry).fragments;
        for (size_t i = 0; i < fragments.size() && holes.size() < 20; ++i)
            holes.push_back(fragments[i].rect);
        const Rect last = holes.back();
        // The middle of the last hole, in top-left coordinates of the primary display.
        click = Point{last.midX(), 900 - last.midY()};
    }
};

void BM_ClickDecision(benchmark::State& state)
{
    const SessionScene scene;
    MouseBlockerClickDecision decision;
    for (auto _ : state) {
        decision = decideMouseClick(scene.snapshots, scene.allowed, vesk, scene.geometry, scene.holes,
                                    scene.registeredPanels, scene.click);
        benchmark::DoNotOptimize(decision);
    }
    state.counters["holes"] = double(scene.holes.size());
    state.counters["fragments"] = decision.passthroughRectCount;
    state.counters["allowed"] = decision.isAllowed;
}
BENCHMARK(BM_ClickDecision)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

void BM_ClickDecisionAfterClassification(benchmark::State& state)
{
    const SessionScene scene;
    const auto windows = excludingFinderDesktopWindows(scene.snapshots, scene.geometry);
    const auto classification = classifyWindowSnapshots(windows, scene.allowed, vesk, scene.geometry);
    MouseBlockerClickDecision prepared;
    prepared.quartzPoint = scene.click;
    prepared.cocoaPoint = scene.geometry.cocoaPointFromQuartz(scene.click);
    prepared.topWindowBundleID = topmostWindow(windows, vesk, scene.click)->bundleID;
    for (auto _ : state) {
        auto decision = decideClassifiedMouseClick(prepared, classification, windows, scene.allowed, vesk,
                                                   scene.geometry, scene.holes);
        benchmark::DoNotOptimize(decision);
    }
}
BENCHMARK(BM_ClickDecisionAfterClassification)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

BENCHMARK_MAIN();
