// The click decision that the mouse blocker's tap runs for every mouse-down,
// on a session desktop: 40 application windows (8 of them allowed) on 2
// displays, Vesk's overlay, backing and 6 session panels in the window list,
// 6 registered panel rects and 20 holes. The click lands in the last hole, so
// every step runs and every hole is looked at.
//
// BM_WholeClickDecision50 compares the desktops: the same 50 windows (42 of
// 21 applications, 8 allowed; Vesk's 8) on one 800 × 800 display, on the
// simulated desktop and on the X11 desktop over a real X server (Xvfb and
// openbox, started here, with the tests' client for the windows), and the
// whole of what the tap does per click: the displays, the window list read
// (the X11 desktop's from its cache) and the decision; listChanged:0 with the
// list unchanged since the last read (the overlay reads it every frame),
// listChanged:1 with it parsed anew.

#include "DesktopSpecs.h"
#include "X11TestServer.h"
#include "core/ManualScheduler.h"
#include "enforcement/MouseBlockerClickDecision.h"
#include "overlay/OverlayBackingPanel.h"
#include "overlay/OverlayPanel.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/OwnWindowSpec.h"
#include "platform/PlatformInterfaces.h"
#include "platform/WindowLevel.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/x11/X11Desktop.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

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

// A click after the window list changed: read and parse it, then decide.
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

// The 50-window scene, the same on both desktops. Windows of an application
// come in the order given, each in front of the ones before.
namespace fifty {

constexpr int applicationCount = 21;
constexpr int allowedCount = 4;
// The size of the screen Qt's offscreen platform gives the process, which
// the X11 desktop's coordinates go through.
const QRectF display(0, 0, 800, 800);

QString bundleID(int app)
{
    return QStringLiteral("org.vesk.bench.App%1").arg(app);
}

QString className(int app)
{
    return QStringLiteral("VeskBenchApp%1").arg(app);
}

// The allowed applications' large windows behind, the others' small ones
// across them in a grid.
QRect windowBounds(int app, int copy)
{
    const int slot = app * 2 + copy;
    if (app < allowedCount)
        return QRect(20 + slot * 60, 60 + (slot % 2) * 120, 300, 260);
    const int cell = slot - allowedCount * 2;
    return QRect(10 + (cell % 10) * 78, 40 + (cell / 10) * 140, 70, 60);
}

std::set<QString> allowed()
{
    std::set<QString> ids;
    for (int app = 0; app < allowedCount; ++app)
        ids.insert(bundleID(app));
    return ids;
}

// The overlay and its backing over the display, six session panels above.
void addOwnWindows(platform::OwnWindowRegistering& ownWindows, std::vector<Rect>& registeredPanels)
{
    auto add = [&](int level, QRectF cocoaFrame, bool ignoresMouse) {
        platform::OwnWindowSpec spec;
        spec.level = level;
        spec.frame = cocoaFrame;
        spec.ignoresMouseEvents = ignoresMouse;
        ownWindows.addOwnWindow(spec);
    };
    add(OverlayPanel::windowLevel(), display, true);
    add(OverlayBackingPanel::windowLevel(), display, false);
    for (int panel = 0; panel < 6; ++panel) {
        const QRectF frame(20.0 + 125 * panel, 10, 110, 30);
        add(platform::shieldingWindowLevel() + 2, frame, false);
        registeredPanels.push_back(rectFromQRectF(frame));
    }
}

// What the mouse blocker reads and decides per click, over a desktop's interfaces.
struct Decider {
    const platform::PlatformInterfaces platform;
    WindowSnapshotReader reader;
    std::set<QString> allowedIDs = allowed();
    std::vector<Rect> registeredPanels;
    std::vector<Rect> holes;
    Point click;

    explicit Decider(const platform::PlatformInterfaces& interfaces)
        : platform(interfaces)
        , reader(platform.windowList, [this](qint32 pid) -> std::optional<QString> {
            if (pid == platform.ownApplication.ownApplication().pid)
                return platform.ownApplication.ownApplication().bundleIdentifier;
            return platform.workspace.bundleIdentifierOfProcess(pid);
        })
    {
    }

    // Once every window is listed: the holes of the allowed windows' visible
    // pieces (at most 20), the click in the middle of the last.
    bool prepare()
    {
        const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(platform.screens);
        if (!geometry)
            return false;
        const auto fragments =
            classifyWindowSnapshots(reader.copyOnScreenWindowSnapshots(), allowedIDs, vesk, *geometry).fragments;
        for (size_t i = 0; i < fragments.size() && holes.size() < 20; ++i)
            holes.push_back(fragments[i].rect);
        if (holes.empty())
            return false;
        click = Point{holes.back().midX(), display.height() - holes.back().midY()};
        return true;
    }

    // As the mouse blocker decides: with the snapshots the last read parsed
    // while the list is unchanged, or with the list parsed anew, as after a
    // change.
    MouseBlockerClickDecision decide(bool listChanged)
    {
        const std::optional<DisplayGeometry> geometry = DisplayGeometry::current(platform.screens);
        if (listChanged)
            return decideMouseClick(reader.copyOnScreenWindowSnapshots(), allowedIDs, vesk, *geometry, holes,
                                    registeredPanels, click);
        return decideMouseClick(reader.onScreenWindowSnapshots(), allowedIDs, vesk, *geometry, holes, registeredPanels,
                                click);
    }
};

// Each application a client of its own with a desktop entry that names its
// class, so that the desktop knows its windows' application.
struct X11Scene {
    QTemporaryDir data;
    X11TestServer server;
    std::unique_ptr<platform::X11Desktop> desktop;
    std::optional<Decider> decider;
    QString error;

    X11Scene()
    {
        if (const QString missing = X11TestServer::missingTools(); !missing.isEmpty()) {
            error = QStringLiteral("missing ") + missing;
            return;
        }
        if (!server.start(int(display.width()), int(display.height()))) {
            error = server.error();
            return;
        }
        writeEntries();
        desktop = platform::X11Desktop::open(server.display(), QStringLiteral("Vesk"));
        if (!desktop) {
            error = QStringLiteral("no X11 desktop");
            return;
        }
        for (int app = 0; app < applicationCount; ++app) {
            for (int copy = 0; copy < 2; ++copy) {
                const QRect bounds = windowBounds(app, copy);
                const QString geometry = QStringLiteral("%1x%2+%3+%4")
                                             .arg(bounds.width())
                                             .arg(bounds.height())
                                             .arg(bounds.x())
                                             .arg(bounds.y());
                server.startClient(
                    {"--class", className(app).toLower() + u',' + className(app), "--geometry", geometry});
            }
        }
        decider.emplace(desktop->interfaces());
        addOwnWindows(decider->platform.ownWindows, decider->registeredPanels);
        // Every window listed with its application, as far as the X server and openbox go.
        const bool listed = QTest::qWaitFor(
            [&] {
                const auto snapshots = decider->reader.copyOnScreenWindowSnapshots();
                return snapshots.size() == 50 && std::all_of(snapshots.begin(), snapshots.end(), [](const auto& s) {
                           return !s.bundleID.isEmpty();
                       });
            },
            30000);
        if (!listed || !decider->prepare())
            error = QStringLiteral("the windows did not all show with their applications");
    }

    // The entries go to a data home of the scene's own, named before the
    // desktop reads it (after openbox has found its theme in the system's).
    void writeEntries()
    {
        const QString folder = data.filePath(QStringLiteral("applications"));
        QDir().mkpath(folder);
        for (int app = 0; app < applicationCount; ++app) {
            QFile entry(folder + u'/' + bundleID(app) + QStringLiteral(".desktop"));
            if (entry.open(QIODevice::WriteOnly))
                entry.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=App %1\nExec=true\n"
                                           "StartupWMClass=%2\n")
                                .arg(app)
                                .arg(className(app))
                                .toUtf8());
        }
        qputenv("XDG_DATA_HOME", data.path().toUtf8());
        qputenv("XDG_DATA_DIRS", data.filePath(QStringLiteral("none")).toUtf8());
    }
};

// One server for the run, started on first use.
X11Scene& x11Scene()
{
    static X11Scene scene;
    return scene;
}

// The X11 scene's windows as the window list shows them (openbox's frames
// included), back to front per application; empty without the X11 scene.
std::map<QString, std::vector<QRectF>> x11WindowBounds()
{
    std::map<QString, std::vector<QRectF>> bounds;
    X11Scene& scene = x11Scene();
    if (!scene.error.isEmpty())
        return bounds;
    for (const AllowedWindowSnapshot& window : scene.decider->reader.copyOnScreenWindowSnapshots()) {
        if (window.bundleID != vesk) {
            auto& windows = bounds[window.bundleID];
            windows.insert(windows.begin(), toQRectF(window.bounds));
        }
    }
    return bounds;
}

// The same windows on the simulated desktop, where the X11 scene gives their
// bounds with its frames, so that both decide over the same geometry.
struct SimulatedScene {
    QTemporaryDir root;
    ManualScheduler scheduler;
    platform::SimulatedDesktop desktop{scheduler, root.path()};
    std::optional<Decider> decider;

    SimulatedScene()
    {
        desktop.addDisplay(test::display(1, display));
        const std::map<QString, std::vector<QRectF>> framed = x11WindowBounds();
        for (int app = 0; app < applicationCount; ++app) {
            std::vector<platform::WindowSpec> windows;
            const auto listed = framed.find(bundleID(app));
            for (int copy = 0; copy < 2; ++copy) {
                const bool known = listed != framed.end() && int(listed->second.size()) == 2;
                windows.push_back(test::windowSpec(known ? listed->second[size_t(copy)] : windowBounds(app, copy)));
            }
            desktop.addRunningApplication(test::application(bundleID(app), windows));
        }
        decider.emplace(desktop.interfaces());
        addOwnWindows(decider->platform.ownWindows, decider->registeredPanels);
        decider->prepare();
    }
};

void report(benchmark::State& state, const Decider& decider, const MouseBlockerClickDecision& decision)
{
    state.counters["windows"] = double(decider.reader.copyOnScreenWindowSnapshots().size());
    state.counters["holes"] = double(decider.holes.size());
    state.counters["fragments"] = decision.passthroughRectCount;
    state.counters["allowed"] = decision.isAllowed;
}

} // namespace fifty

void BM_WholeClickDecision50_Simulated(benchmark::State& state)
{
    fifty::SimulatedScene scene;
    MouseBlockerClickDecision decision;
    for (auto _ : state) {
        decision = scene.decider->decide(state.range(0) == 1);
        benchmark::DoNotOptimize(decision);
    }
    fifty::report(state, *scene.decider, decision);
}
BENCHMARK(BM_WholeClickDecision50_Simulated)
    ->ArgName("listChanged")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

void BM_WholeClickDecision50_X11(benchmark::State& state)
{
    fifty::X11Scene& scene = fifty::x11Scene();
    if (!scene.error.isEmpty()) {
        state.SkipWithError(scene.error.toStdString().c_str());
        return;
    }
    MouseBlockerClickDecision decision;
    for (auto _ : state) {
        decision = scene.decider->decide(state.range(0) == 1);
        benchmark::DoNotOptimize(decision);
    }
    fifty::report(state, *scene.decider, decision);
}
BENCHMARK(BM_WholeClickDecision50_X11)
    ->ArgName("listChanged")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // Vesk's own windows are listed under its bundle identifier, as the desktop file names it.
    QGuiApplication::setDesktopFileName(QStringLiteral("com.vesk.app"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
