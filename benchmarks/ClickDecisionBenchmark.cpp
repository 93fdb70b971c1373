// The click decision that the mouse blocker's tap runs for every mouse-down,
// on a session desktop: 40 application windows (8 of them allowed) on 2
// displays, Vesk's overlay, backing and 6 session panels in the window list,
// 6 registered panel rects and 20 holes. The click lands in the last hole, so
// every step runs and every hole is looked at.

#include "DesktopSpecs.h"
#include "core/ManualScheduler.h"
#include "enforcement/MouseBlockerClickDecision.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/OwnWindowSpec.h"
#include "platform/PlatformInterfaces.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vesk;

const QString vesk = QStringLiteral("com.vesk.app");

struct SessionScene {
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    std::optional<WindowSnapshotReader> reader;
    DisplayGeometry geometry;
    std::vector<AllowedWindowSnapshot> snapshots;
    std::set<QString> allowed;
    std::vector<Rect> holes;
    std::vector<Rect> registeredPanels;
    Point click;

    SessionScene()
    {
        desktop.addDisplay(test::display(1, QRectF(0, 0, 1440, 900)));
        desktop.addDisplay(test::display(2, QRectF(1440, 0, 1920, 1080)));
        // Four allowed applications, behind sixteen others that cascade
        // across both displays and cut them into many visible pieces.
        for (int app = 0; app < 20; ++app) {
            const bool isAllowed = app < 4;
            const QString bundleID = QStringLiteral("com.example.app%1").arg(app);
            if (isAllowed)
                allowed.insert(bundleID);
            std::vector<platform::WindowSpec> windows;
            for (int copy = 0; copy < 2; ++copy) {
                const int slot = app * 2 + copy;
                const QRectF bounds = isAllowed ? QRectF(60.0 + slot * 400, 120.0 + (slot % 2) * 200, 560, 520)
                                                : QRectF(20.0 + (slot % 16) * 205, 40.0 + (slot / 16) * 290, 150, 140);
                windows.push_back(test::windowSpec(bounds));
            }
            desktop.addRunningApplication(test::application(bundleID, windows));
        }
        addOwnWindow(OverlayPanel::windowLevel(), QRectF(0, 0, 1440, 900), true);
        addOwnWindow(OverlayBackingPanel::windowLevel(), QRectF(0, 0, 1440, 900), false);
        for (int panel = 0; panel < 6; ++panel) {
            const QRectF frame(40.0 + 230 * panel, 10, 200, 40);
            addOwnWindow(platform::shieldingWindowLevel() + 2, frame, false);
            registeredPanels.push_back(rectFromQRectF(frame));
        }

        const platform::PlatformInterfaces platform = desktop.interfaces();
        reader.emplace(platform.windowList, test::bundleIdentifierLookup(desktop));
        geometry = *DisplayGeometry::current(platform.screens);
        snapshots = reader->copyOnScreenWindowSnapshots();
        const auto fragments = classifyWindowSnapshots(snapshots, allowed, vesk, geometry).fragments;
        for (size_t i = 0; i < fragments.size() && holes.size() < 20; ++i)
            holes.push_back(fragments[i].rect);
        const Rect last = holes.back();
        // The middle of the last hole, top-left (it lies on the primary display).
        click = Point{last.midX(), 900 - last.midY()};
    }

    void addOwnWindow(int level, QRectF cocoaFrame, bool ignoresMouse)
    {
        platform::OwnWindowSpec spec;
        spec.level = level;
        spec.frame = cocoaFrame;
        spec.ignoresMouseEvents = ignoresMouse;
        desktop.addOwnWindow(spec);
    }
};

// What the tap does per click: read the window list, then decide.
void BM_ClickDecisionWithWindowListRead(benchmark::State& state)
{
    const SessionScene scene;
    MouseBlockerClickDecision decision;
    for (auto _ : state) {
        decision = decideMouseClick(scene.reader->copyOnScreenWindowSnapshots(), scene.allowed, vesk, scene.geometry,
                                    scene.holes, scene.registeredPanels, scene.click);
        benchmark::DoNotOptimize(decision);
    }
    state.counters["windows"] = double(scene.snapshots.size());
    state.counters["holes"] = double(scene.holes.size());
    state.counters["fragments"] = decision.passthroughRectCount;
    state.counters["allowed"] = decision.isAllowed;
}
BENCHMARK(BM_ClickDecisionWithWindowListRead)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_ClickDecision(benchmark::State& state)
{
    const SessionScene scene;
    for (auto _ : state) {
        auto decision = decideMouseClick(scene.snapshots, scene.allowed, vesk, scene.geometry, scene.holes,
                                         scene.registeredPanels, scene.click);
        benchmark::DoNotOptimize(decision);
    }
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
    const AllowedWindowSnapshot* top = topmostWindow(windows, vesk, scene.click);
    prepared.topWindowBundleID = top->bundleID;
    prepared.topWindowLayer = top->layer;
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
