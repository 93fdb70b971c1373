// The window list of the X11 desktop over a real X server (Xvfb and openbox,
// started here) with as many client windows as the argument says, and the
// simulated desktop's with the same windows beside it.
//   BM_X11WindowListRead    a read while nothing changes (the overlay's per-frame read);
//   BM_X11WindowListBuild   a read after a change: the list built from the cache;
//   BM_X11TitleChangeToList a client's title change until the list shows it: the
//                           X server, the event, the cache's refresh and the read;
//   BM_SimulatedWindowListRead, BM_SimulatedWindowListBuild  the same reads on the
//                           simulated desktop (the build after a window moved).

#include "DesktopSpecs.h"
#include "X11TestServer.h"
#include "core/ManualScheduler.h"
#include "platform/simulated/SimulatedDesktop.h"
#include "platform/x11/X11Desktop.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace {

using namespace vesk::platform;

struct Scene {
    X11TestServer server;
    std::unique_ptr<X11Desktop> desktop;
    std::vector<quint32> windows;
};

// One server per window count, started on first use and kept for the run;
// main ends them while the application still runs.
std::map<int, std::unique_ptr<Scene>>& scenes()
{
    static std::map<int, std::unique_ptr<Scene>> all;
    return all;
}

Scene* sceneWith(int windowCount)
{
    auto& scene = scenes()[windowCount];
    if (scene)
        return scene.get();
    scene = std::make_unique<Scene>();
    if (!X11TestServer::missingTools().isEmpty() || !scene->server.start(1920, 1080))
        return nullptr;
    scene->desktop = X11Desktop::open(scene->server.display(), "Vesk");
    if (!scene->desktop || !QTest::qWaitFor([&] { return scene->desktop->windowCache().hasWindowManager(); }, 10000))
        return nullptr;
    // openbox may miss a map request right after it starts: the scene waits
    // for every window and gives up rather than measuring fewer.
    scene->windows = scene->server.startClient({"--count", QString::number(windowCount), "--geometry", "400x300+50+50"},
                                               windowCount);
    const bool listed =
        QTest::qWaitFor([&] { return int(scene->desktop->windowCache().windows().size()) == windowCount; }, 20000);
    return listed ? scene.get() : nullptr;
}

void BM_X11WindowListRead(benchmark::State& state)
{
    Scene* scene = sceneWith(int(state.range(0)));
    if (!scene) {
        state.SkipWithError("no X server with a window manager and the windows");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(scene->desktop->windowList().copyWindowInfo(WindowListOnScreenOnly));
}
BENCHMARK(BM_X11WindowListRead)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_X11WindowListBuild(benchmark::State& state)
{
    Scene* scene = sceneWith(int(state.range(0)));
    if (!scene) {
        state.SkipWithError("no X server with a window manager and the windows");
        return;
    }
    X11Desktop& desktop = *scene->desktop;
    for (auto _ : state) {
        // A fresh provider has no list yet: it builds one from the cache.
        const X11WindowListProvider provider(desktop.windowCache(), desktop.ownWindows(), 1, "Vesk");
        benchmark::DoNotOptimize(provider.copyWindowInfo(WindowListOnScreenOnly));
    }
}
BENCHMARK(BM_X11WindowListBuild)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_X11TitleChangeToList(benchmark::State& state)
{
    Scene* scene = sceneWith(int(state.range(0)));
    if (!scene) {
        state.SkipWithError("no X server with a window manager and the windows");
        return;
    }
    X11Connection& connection = scene->desktop->connection();
    const xcb_window_t window = scene->windows.front();
    int round = 0;
    for (auto _ : state) {
        const QByteArray title = "title " + QByteArray::number(++round);
        xcb_change_property(connection.xcb(), XCB_PROP_MODE_REPLACE, window, connection.ewmh()->_NET_WM_NAME,
                            connection.ewmh()->UTF8_STRING, 8, std::uint32_t(title.size()), title.constData());
        connection.flush();
        auto listedTitle = [&] {
            for (const QVariantMap& entry : scene->desktop->windowList().copyWindowInfo(WindowListOnScreenOnly)) {
                if (entry.value(kWindowNumber).toLongLong() == qint64(window))
                    return entry.value(kWindowName).toByteArray();
            }
            return QByteArray();
        };
        // The loop sleeps until the X server's event wakes it (the timer only bounds the wait).
        QTimer bound;
        bound.setSingleShot(true);
        bound.start(5000);
        while (listedTitle() != title && bound.isActive())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        const bool shown = listedTitle() == title;
        if (!shown) {
            state.SkipWithError("the title change did not arrive");
            return;
        }
    }
}
BENCHMARK(BM_X11TitleChangeToList)->Arg(50)->Unit(benchmark::kMicrosecond);

// The X11 scene's windows on the simulated desktop: one application's
// windows at 400 × 300 + 50 + 50 on one 1920 × 1080 display.
struct SimulatedScene {
    QTemporaryDir root;
    vesk::ManualScheduler scheduler;
    SimulatedDesktop desktop{scheduler, root.path()};
    std::vector<WindowNumber> windows;

    explicit SimulatedScene(int windowCount)
    {
        desktop.addDisplay(vesk::test::display(1, QRectF(0, 0, 1920, 1080)));
        const ProcessID pid =
            desktop.addRunningApplication(vesk::test::application(QStringLiteral("org.example.Client"), {}));
        for (int n = 0; n < windowCount; ++n)
            windows.push_back(desktop.addWindow(pid, vesk::test::windowSpec(QRectF(50, 50, 400, 300))));
    }
};

void BM_SimulatedWindowListRead(benchmark::State& state)
{
    SimulatedScene scene(int(state.range(0)));
    const WindowListProviding& windowList = scene.desktop.interfaces().windowList;
    for (auto _ : state)
        benchmark::DoNotOptimize(windowList.copyWindowInfo(WindowListOnScreenOnly));
}
BENCHMARK(BM_SimulatedWindowListRead)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_SimulatedWindowListBuild(benchmark::State& state)
{
    SimulatedScene scene(int(state.range(0)));
    const WindowListProviding& windowList = scene.desktop.interfaces().windowList;
    int round = 0;
    for (auto _ : state) {
        // A window moves by a point and back: the next read builds the list anew.
        scene.desktop.setWindowBounds(scene.windows.front(), QRectF(50 + (++round % 2), 50, 400, 300));
        benchmark::DoNotOptimize(windowList.copyWindowInfo(WindowListOnScreenOnly));
    }
}
BENCHMARK(BM_SimulatedWindowListBuild)->Arg(10)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    scenes().clear();
    return 0;
}
