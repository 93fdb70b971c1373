// The overlay's frame over a busy desktop. Each benchmark takes the number of
// windows (5 of them allowed) and of displays as its two arguments.
//   BM_OverlayTick   the tick alone, with the heap allocations of a steady tick;
//   BM_OverlayFrame  the whole frame: the tick, then the turn of the event loop
//                    that paints every panel it asked to redraw;
//   BM_WindowSnapshots, BM_Classification  two steps of the tick on their own.

#include "AllocationCount.h"
#include "DesktopSpecs.h"
#include "core/ManualScheduler.h"
#include "overlay/OverlayContentView.h"
#include "overlay/OverlayPanel.h"
#include "overlay/OverlayService.h"
#include "overlay/SystemMouseInteractionDetector.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWindowListProvider.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace vesk;

constexpr int kAllowedApplications = 5;
constexpr int kWindowsPerOtherApplication = 5;
constexpr int kWarmUpFrames = 30;

// Up to six displays in the top-left system: the primary one, a large one to
// its right, a laptop panel to its left, two below them and one more on the
// far right.
const QRectF kDisplayBounds[] = {
    QRectF(0, 0, 1440, 900),   QRectF(1440, -180, 2560, 1440), QRectF(-1280, 100, 1280, 800),
    QRectF(0, 900, 1440, 900), QRectF(-1280, 900, 1280, 1024), QRectF(4000, 0, 1920, 1080),
};

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    long paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// `windowCount` windows: five allowed applications with one window each, at
// the back, and in front of them applications of five windows each, cascaded
// from nine starting points so that many windows overlap the allowed ones and
// each other (with 50 windows on 3 displays, the scene this benchmark has
// always measured). Only the first `displayCount` displays exist; a window
// beyond them is listed but covers no display.
struct BusyDesktop {
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    platform::DesktopScreenProvider screens{desktop};
    platform::DesktopWindowListProvider windowList{desktop};
    SystemMouseInteractionDetector mouse{desktop.pointer()};
    std::set<QString> allowed;
    std::unique_ptr<OverlayService> service;
    std::vector<Rect> lastHoles;
    PaintCounter paintCounter;

    BusyDesktop(int windowCount, int displayCount)
    {
        for (int index = 0; index < displayCount; ++index)
            desktop.addDisplay(test::display(quint32(index + 1), kDisplayBounds[index]));
        const double allowedLefts[] = {-1100, 200, 900, 1700, 2600};
        for (int app = 0; app < kAllowedApplications; ++app) {
            const QString bundleID = QStringLiteral("com.example.allowed%1").arg(app);
            addApplication(bundleID, {QRectF(allowedLefts[app], 120 + 40 * app, 900, 600)});
            allowed.insert(bundleID);
        }
        const double lefts[] = {-1200, -600, 100, 700, 1500, 2300, 3000, -900, 400};
        const int others = windowCount - kAllowedApplications;
        for (int app = 0; app * kWindowsPerOtherApplication < others; ++app) {
            std::vector<QRectF> windows;
            for (int window = 0;
                 window < kWindowsPerOtherApplication && app * kWindowsPerOtherApplication + window < others;
                 ++window) {
                windows.push_back(QRectF(lefts[app % 9] + 37 * window, 140 + 53 * window + (11 * app) % 400, 420, 300));
            }
            addApplication(QStringLiteral("com.example.other%1").arg(app), windows);
        }
        service = std::make_unique<OverlayService>(
            scheduler, scheduler,
            OverlayService::DesktopParts{screens, screens, desktop, desktop.pointer(),
                                         desktop.ownApplication().bundleIdentifier.value_or(QString())},
            WindowSnapshotReader(windowList, test::bundleIdentifierLookup(desktop)), mouse);
        service->setPassthroughRectsChangedHandler([this](const std::vector<Rect>& holes) { lastHoles = holes; });
        service->activate(allowed);
        for (OverlayPanel* panel : service->panels())
            panel->contentView()->installEventFilter(&paintCounter);
        // The panels are shown: let the platform map them before measuring.
        QCoreApplication::processEvents();
        // The first tick logs the evaluation; the ones after it are steady
        // once the working storage has grown to its size.
        for (int frame = 0; frame < kWarmUpFrames; ++frame) {
            service->trackingTick();
            QCoreApplication::processEvents();
        }
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
};

int windowCount(const benchmark::State& state)
{
    return static_cast<int>(state.range(0));
}

int displayCount(const benchmark::State& state)
{
    return static_cast<int>(state.range(1));
}

void BM_OverlayTick(benchmark::State& state)
{
    BusyDesktop scene(windowCount(state), displayCount(state));
    long allocations = 0;
    for (auto _ : state) {
        const long before = test::allocationsOnThisThread();
        scene.service->trackingTick();
        allocations += test::allocationsOnThisThread() - before;
        benchmark::DoNotOptimize(scene.lastHoles.data());
    }
    // The paints the ticks asked for are dropped, not measured.
    QCoreApplication::processEvents();
    state.counters["allocs/tick"] = benchmark::Counter(static_cast<double>(allocations) / state.iterations());
    state.counters["holes"] = static_cast<double>(scene.lastHoles.size());
    state.counters["us/window"] =
        benchmark::Counter(static_cast<double>(windowCount(state)),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_OverlayFrame(benchmark::State& state)
{
    BusyDesktop scene(windowCount(state), displayCount(state));
    const long paintsBefore = scene.paintCounter.paints;
    long allocations = 0;
    for (auto _ : state) {
        const long before = test::allocationsOnThisThread();
        scene.service->trackingTick();
        QCoreApplication::processEvents();
        allocations += test::allocationsOnThisThread() - before;
    }
    // Every frame paints every black panel once.
    state.counters["paints/frame"] =
        benchmark::Counter(static_cast<double>(scene.paintCounter.paints - paintsBefore) / state.iterations());
    state.counters["allocs/frame"] = benchmark::Counter(static_cast<double>(allocations) / state.iterations());
}

void BM_WindowSnapshots(benchmark::State& state)
{
    BusyDesktop scene(windowCount(state), displayCount(state));
    const WindowSnapshotReader reader(scene.windowList, test::applicationBundleIdentifierLookup(scene.desktop));
    const long before = test::allocationsOnThisThread();
    for (auto _ : state)
        benchmark::DoNotOptimize(reader.copyOnScreenWindowSnapshots());
    state.counters["allocs/read"] =
        benchmark::Counter(static_cast<double>(test::allocationsOnThisThread() - before) / state.iterations());
}

void BM_Classification(benchmark::State& state)
{
    BusyDesktop scene(windowCount(state), displayCount(state));
    const WindowSnapshotReader reader(scene.windowList, test::applicationBundleIdentifierLookup(scene.desktop));
    const auto snapshots = reader.copyOnScreenWindowSnapshots();
    const auto geometry = DisplayGeometry::current(scene.screens);
    const long before = test::allocationsOnThisThread();
    for (auto _ : state)
        benchmark::DoNotOptimize(classifyWindowSnapshots(snapshots, scene.allowed, QString(), *geometry));
    state.counters["allocs/run"] =
        benchmark::Counter(static_cast<double>(test::allocationsOnThisThread() - before) / state.iterations());
}

// Windows 10, 50, 200, 500 by displays 1, 3, 6.
void windowsByDisplays(benchmark::internal::Benchmark* benchmark)
{
    benchmark->ArgNames({"windows", "displays"})->ArgsProduct({{10, 50, 200, 500}, {1, 3, 6}});
    benchmark->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_OverlayTick)->Apply(windowsByDisplays);
BENCHMARK(BM_OverlayFrame)->Apply(windowsByDisplays);
BENCHMARK(BM_WindowSnapshots)->Apply(windowsByDisplays);
BENCHMARK(BM_Classification)->Apply(windowsByDisplays);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir logs;
    if (qEnvironmentVariableIsEmpty("VESK_LOGS_DIR"))
        qputenv("VESK_LOGS_DIR", logs.path().toUtf8());
    // The overlay's log lines and the headless platform's notes would drown the results.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
