// One full overlay tick over a busy desktop: 50 windows on 3 displays, 5 of
// them allowed. Also counts the heap allocations of a steady tick.

#include "DesktopSpecs.h"
#include "overlay/OverlayService.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<long> allocationCount{0};

} // namespace

void* operator new(std::size_t size)
{
    allocationCount.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void* memory) noexcept
{
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept
{
    std::free(memory);
}

namespace {

using namespace vesk;

// Three displays: a laptop panel left of the primary display and a large one
// to its right. Five allowed applications with one window each and nine others
// with five windows each, cascaded across the displays so that many windows
// overlap the allowed ones.
struct BusyDesktop {
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    platform::DesktopScreenProvider screens{desktop};
    platform::DesktopWindowListProvider windowList{desktop};
    SystemMouseInteractionDetector mouse{desktop};
    std::set<QString> allowed;
    std::unique_ptr<OverlayService> service;
    std::vector<Rect> lastHoles;

    BusyDesktop()
    {
        addDisplay(1, QRectF(0, 0, 1440, 900));
        addDisplay(2, QRectF(1440, -180, 2560, 1440));
        addDisplay(3, QRectF(-1280, 100, 1280, 800));
        const double allowedLefts[] = {-1100, 200, 900, 1700, 2600};
        for (int app = 0; app < 5; ++app) {
            const QString bundleID = QStringLiteral("com.example.allowed%1").arg(app);
            addApplication(bundleID, {QRectF(allowedLefts[app], 120 + 40 * app, 900, 600)});
            allowed.insert(bundleID);
        }
        const double lefts[] = {-1200, -600, 100, 700, 1500, 2300, 3000, -900, 400};
        for (int app = 0; app < 9; ++app) {
            std::vector<QRectF> windows;
            for (int window = 0; window < 5; ++window)
                windows.push_back(QRectF(lefts[app] + 37 * window, 140 + 53 * window + 11 * app, 420, 300));
            addApplication(QStringLiteral("com.example.other%1").arg(app), windows);
        }
        service = std::make_unique<OverlayService>(
            scheduler, scheduler,
            OverlayService::DesktopParts{screens, screens, desktop, desktop,
                                         desktop.ownApplication().bundleIdentifier.value_or(QString())},
            WindowSnapshotReader(windowList, test::bundleIdentifierLookup(desktop)), mouse);
        service->setPassthroughRectsChangedHandler([this](const std::vector<Rect>& holes) { lastHoles = holes; });
        service->activate(allowed);
    }

    void addApplication(const QString& bundleID, const std::vector<QRectF>& windows)
    {
        platform::ApplicationSpec spec;
        spec.bundleIdentifier = bundleID;
        for (const QRectF& bounds : windows) {
            platform::WindowSpec window;
            window.title = bundleID;
            window.bounds = bounds;
            spec.windows.push_back(window);
        }
        desktop.addRunningApplication(spec);
    }

    void addDisplay(quint32 id, QRectF bounds) { desktop.addDisplay(test::display(id, bounds)); }
};

void BM_OverlayTick(benchmark::State& state)
{
    BusyDesktop scene;
    scene.service->trackingTick(); // the first tick logs the evaluation; later ones are steady
    long allocations = 0;
    for (auto _ : state) {
        const long before = allocationCount.load(std::memory_order_relaxed);
        scene.service->trackingTick();
        allocations += allocationCount.load(std::memory_order_relaxed) - before;
        benchmark::DoNotOptimize(scene.lastHoles.data());
    }
    state.counters["allocs/tick"] = benchmark::Counter(static_cast<double>(allocations) / state.iterations());
    state.counters["holes"] = static_cast<double>(scene.lastHoles.size());
}
void BM_WindowSnapshots(benchmark::State& state)
{
    BusyDesktop scene;
    const WindowSnapshotReader reader(scene.windowList, test::applicationBundleIdentifierLookup(scene.desktop));
    const long before = allocationCount.load(std::memory_order_relaxed);
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.copyOnScreenWindowSnapshots());
    state.counters["allocs/read"] = benchmark::Counter(
        static_cast<double>(allocationCount.load(std::memory_order_relaxed) - before) / state.iterations());
}
BENCHMARK(BM_WindowSnapshots)->Unit(benchmark::kMicrosecond);

void BM_Classification(benchmark::State& state)
{
    BusyDesktop scene;
    const WindowSnapshotReader reader(scene.windowList, test::applicationBundleIdentifierLookup(scene.desktop));
    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    const auto geometry = DisplayGeometry::current(scene.screens);
    const long before = allocationCount.load(std::memory_order_relaxed);
    for (auto _ : state)
        benchmark::DoNotOptimize(classifyWindowSnapshots(snapshots, scene.allowed, QString(), *geometry));
    state.counters["allocs/run"] = benchmark::Counter(
        static_cast<double>(allocationCount.load(std::memory_order_relaxed) - before) / state.iterations());
}
BENCHMARK(BM_Classification)->Unit(benchmark::kMicrosecond);

BENCHMARK(BM_OverlayTick)->Unit(benchmark::kMicrosecond)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir logs;
    if (qEnvironmentVariableIsEmpty("VESK_LOGS_DIR"))
        qputenv("VESK_LOGS_DIR", logs.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
