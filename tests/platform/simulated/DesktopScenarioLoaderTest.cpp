#include "platform/simulated/DesktopScenarioLoader.h"

#include "UnreadableInputFiles.h"
#include "core/MainThread.h"
#include "core/ManualScheduler.h"
#include "platform/WindowListProviding.h"
#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopScreenProvider.h"
#include "platform/simulated/DesktopWorkspace.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QByteArrayList>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <mutex>

using namespace vesk;
using namespace vesk::platform;

namespace {

QByteArray withDisplay(const QByteArray& rest)
{
    return R"({"displays": [{"id": 1, "bounds": [0, 0, 1440, 900], "spaces": 2}])" + rest + "}";
}

QByteArray displays(int count)
{
    QByteArrayList list;
    for (int i = 0; i < count; ++i)
        list.append(QStringLiteral(R"({"bounds": [%1, 0, 1920, 1080]})").arg(i * 1920).toUtf8());
    return R"({"displays": [)" + list.join(", ") + "]}";
}

QByteArray windows(int count)
{
    QByteArrayList list;
    for (int i = 0; i < count; ++i)
        list.append(R"({"bounds": [10, 10, 300, 200]})");
    return withDisplay(R"(, "applications": [{"name": "A", "windows": [)" + list.join(", ") + "]}]");
}

struct MalformedCase {
    const char* name;
    QByteArray json;
    const char* errorStart;
};

class DesktopScenarioMalformedTest : public ::testing::TestWithParam<MalformedCase> { };

TEST_P(DesktopScenarioMalformedTest, MalformedScenarioGivesAnErrorNamingTheField)
{
    const MalformedCase& c = GetParam();
    const ScenarioLoadResult result = DesktopScenarioLoader::parse(c.json);
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.startsWith(QString::fromUtf8(c.errorStart))) << result.error.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DesktopScenarioMalformedTest,
    ::testing::Values(
        MalformedCase{"notJson", R"({"displays": [)", "not valid JSON at line 1, column 15"},
        MalformedCase{"notAnObject", R"([1, 2])", "scenario: expected a JSON object"},
        MalformedCase{"noDisplays", R"({"bundles": []})", "displays: missing"},
        MalformedCase{"emptyDisplays", R"({"displays": []})", "displays: at least one display"},
        MalformedCase{"displayBoundsShort", R"({"displays": [{"bounds": [0, 0, 10]}]})",
                      "displays[0].bounds: expected an array of four numbers"},
        MalformedCase{"displayBoundsEmpty", R"({"displays": [{"bounds": [0, 0, 0, 900]}]})",
                      "displays[0].bounds: width and height must be positive"},
        MalformedCase{"displayNotObject", R"({"displays": [3]})", "displays[0]: expected an object"},
        MalformedCase{"misspelt", R"({"displays": [{"bonds": [0, 0, 10, 10]}]})", "displays[0].bonds: unknown field"},
        MalformedCase{"unknownTop", withDisplay(R"(, "extra": 1)"), "extra: unknown field"},
        MalformedCase{
            "windowBoundsText",
            withDisplay(R"(, "applications": [{"name": "A"}, {"name": "B", "windows": [{"bounds": "0 0 1 1"}]}])"),
            "applications[1].windows[0].bounds: expected an array of four numbers"},
        MalformedCase{"windowNoBounds", withDisplay(R"(, "applications": [{"name": "A", "windows": [{}]}])"),
                      "applications[0].windows[0].bounds: missing"},
        MalformedCase{
            "windowBadDisplay",
            withDisplay(R"(, "applications": [{"name": "A", "windows": [{"bounds": [0,0,1,1], "display": 1}]}])"),
            "applications[0].windows[0].display: 1 is out of range"},
        MalformedCase{
            "windowBadSpace",
            withDisplay(R"(, "applications": [{"name": "A", "windows": [{"bounds": [0,0,1,1], "space": 2}]}])"),
            "applications[0].windows[0].space: 2 is out of range"},
        MalformedCase{
            "alphaRange",
            withDisplay(R"(, "applications": [{"name": "A", "windows": [{"bounds": [0,0,1,1], "alpha": 2}]}])"),
            "applications[0].windows[0].alpha: 2 is out of range"},
        MalformedCase{"anonymousApplication", withDisplay(R"(, "applications": [{"hidden": true}])"),
                      "applications[0]: an application needs a bundleIdentifier or a name"},
        MalformedCase{"policy", withDisplay(R"(, "applications": [{"name": "A", "activationPolicy": "background"}])"),
                      "applications[0].activationPolicy: expected one of regular, accessory, prohibited"},
        MalformedCase{"duplicatePid",
                      withDisplay(R"(, "applications": [{"name": "A", "pid": 7}, {"name": "B", "pid": 7}])"),
                      "applications[1].pid: 7 is already in use"},
        MalformedCase{"pidOfVesk", withDisplay(R"(, "applications": [{"name": "A", "pid": 4242}])"),
                      "applications[0].pid: 4242 is already in use"},
        MalformedCase{"bundleRelative", withDisplay(R"(, "bundles": [{"path": "Applications/A.app"}])"),
                      "bundles[0].path: expected an absolute path ending in .app"},
        MalformedCase{"bundleEscapes", withDisplay(R"(, "bundles": [{"path": "/Applications/../../etc/A.app"}])"),
                      "bundles[0].path: expected an absolute path"},
        MalformedCase{"bundleSchemes",
                      withDisplay(R"(, "bundles": [{"path": "/Applications/A.app", "urlSchemes": [1]}])"),
                      "bundles[0].urlSchemes: expected an array of strings"},
        MalformedCase{
            "launchAppearance",
            withDisplay(R"(, "bundles": [{"path": "/Applications/A.app", "launch": {"appearance": "soon"}}])"),
            "bundles[0].launch.appearance: expected one of afterDelay, never, onOtherSpace"},
        MalformedCase{"launchDelayNegative",
                      withDisplay(R"(, "bundles": [{"path": "/Applications/A.app", "launch": {"windowDelay": -1}}])"),
                      "bundles[0].launch.windowDelay: -1 is out of range"},
        MalformedCase{"unknownBundlePath",
                      withDisplay(R"(, "applications": [{"name": "A", "bundlePath": "/Applications/B.app"}])"),
                      "applications[0].bundlePath: no bundle has the path"},
        MalformedCase{"frontmostUnknown", withDisplay(R"(, "frontmost": "com.example.none")"),
                      "frontmost: no application has the bundle identifier com.example.none"},
        MalformedCase{"defaultsValue", withDisplay(R"(, "defaults": {"com.apple.dock": {"autohide": [true]}})"),
                      "defaults.com.apple.dock.autohide: expected true, false, a number or a string"},
        MalformedCase{"permissionsType", withDisplay(R"(, "permissions": {"accessibility": "yes"})"),
                      "permissions.accessibility: expected true or false"},
        MalformedCase{"vesk", withDisplay(R"(, "vesk": {"pid": 0})"), "vesk.pid: 0 is out of range"},
        MalformedCase{"displayTooLarge", R"({"displays": [{"bounds": [0, 0, 30000, 1080]}]})",
                      "displays[0].bounds: 30000 × 1080 points is too large; a display has at most 8192 × 8192"},
        MalformedCase{"largestDisplayAndOneMore",
                      R"({"displays": [{"bounds": [0, 0, 8192, 8192]}, {"bounds": [0, 0, 8193, 10]}]})",
                      "displays[1].bounds: 8193 × 10 points is too large"},
        MalformedCase{"tooManyDisplays", displays(17), "displays: 17 displays; a desktop has at most 16"},
        MalformedCase{"displayFarAway", R"({"displays": [{"bounds": [1e12, 0, 1920, 1080]}]})",
                      "displays[0].bounds: 1e+12 is out of range; coordinates and sizes lie within ±131072 points"},
        MalformedCase{"windowHuge",
                      withDisplay(R"(, "applications": [{"name": "A", "windows": [{"bounds": [0, 0, 1e300, 10]}]}])"),
                      "applications[0].windows[0].bounds: 1e+300 is out of range"},
        MalformedCase{"tooManyWindows", windows(2049),
                      "applications[0].windows[2048]: too many windows; a desktop has at most 2048"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST(DesktopScenarioLoader, TheLimitsTakeEveryRealDesktop)
{
    EXPECT_TRUE(DesktopScenarioLoader::parse(displays(16)).ok());
    EXPECT_TRUE(DesktopScenarioLoader::parse(windows(2048)).ok());
    EXPECT_TRUE(DesktopScenarioLoader::parse(R"({"displays": [{"bounds": [-7680, 0, 7680, 4320]}]})").ok());
}

TEST(DesktopScenarioLoader, OnlyRegularFilesOfAtMostSixteenMebibytesAreRead)
{
    QTemporaryDir directory;
    std::vector<std::pair<QString, QString>> cases = test::unreadableInputFiles(directory);
    cases.emplace_back(directory.path(), "not a regular file");
    for (const auto& [path, reason] : cases) {
        const ScenarioLoadResult result = DesktopScenarioLoader::loadFile(path);
        EXPECT_FALSE(result.ok());
        EXPECT_EQ(result.error, QStringLiteral("cannot read %1: %2").arg(path, reason));
    }
}

TEST(DesktopScenarioLoader, MissingFileIsAnErrorNamingIt)
{
    const ScenarioLoadResult result = DesktopScenarioLoader::loadFile("/nonexistent/scenario.json");
    EXPECT_FALSE(result.ok());
    EXPECT_TRUE(result.error.contains("/nonexistent/scenario.json"));
}

TEST(DesktopScenarioLoader, NullBundleIdentifierOfVeskMeansItHasNone)
{
    const ScenarioLoadResult result =
        DesktopScenarioLoader::parse(withDisplay(R"(, "vesk": {"bundleIdentifier": null, "version": null})"));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    EXPECT_FALSE(result.scenario->vesk.bundleIdentifier);
    EXPECT_FALSE(result.scenario->vesk.version);
    EXPECT_EQ(result.scenario->vesk.build, "1");
}

TEST(DesktopScenarioLoader, DefaultScenarioBuildsTheDesktopWithBundlesOnDisk)
{
    const ScenarioLoadResult result = DesktopScenarioLoader::loadDefault();
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    QTemporaryDir root;
    ManualScheduler scheduler;
    SimulatedDesktop desktop(scheduler, root.path());
    const QString error = desktop.applyScenario(*result.scenario);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();

    EXPECT_EQ(DesktopScreenProvider(desktop).screens().size(), 2u);
    for (const char* id : {"org.example.Browser", "org.example.TextEditor", "org.example.Terminal", "org.example.Chat"})
        EXPECT_TRUE(desktop.runningApplication(id)) << id;
    EXPECT_EQ(desktop.frontmostPID(), desktop.runningApplication("org.example.Browser")->pid);

    // The chat window waits on the other Space, the minimised browser window is off screen.
    QStringList onScreen;
    for (const QVariantMap& entry : desktop.copyWindowInfo(WindowListOnScreenOnly | WindowListExcludeDesktopElements))
        onScreen.append(entry.value(kWindowName).toString());
    EXPECT_EQ(onScreen, (QStringList{"Start Page", "zsh — 80×24", "notes.md"}));

    // Bundles are real folders with an Info.plist under the desktop root.
    const auto browser = ApplicationBundle::open(root.path() + "/Applications/Browser.app");
    ASSERT_TRUE(browser);
    EXPECT_EQ(browser->bundleIdentifier(), "org.example.Browser");
    const QVariantList urlTypes = browser->infoDictionary().value("CFBundleURLTypes").toList();
    ASSERT_EQ(urlTypes.size(), 1);
    EXPECT_EQ(urlTypes[0].toMap().value("CFBundleURLSchemes").toStringList(), (QStringList{"http", "https"}));
    const auto unsigned_ = ApplicationBundle::open(root.path() + "/Applications/Unsigned Tool.app");
    ASSERT_TRUE(unsigned_);
    EXPECT_FALSE(unsigned_->bundleIdentifier());
    EXPECT_TRUE(QDir(root.path() + "/System/Applications/Calculator.app").exists());
    EXPECT_TRUE(ApplicationBundle::open(root.path() + "/System/Library/CoreServices/Finder.app"));
    EXPECT_EQ(desktop.workspace().urlForApplication("com.apple.finder"),
              QUrl::fromLocalFile(root.path() + "/System/Library/CoreServices/Finder.app"));

    EXPECT_EQ(desktop.defaults().value("com.apple.screencapture", "show-thumbnail"), QVariant(true));
    EXPECT_EQ(desktop.appliedDockPreferences().value("autohide"), QVariant(false));
}

TEST(DesktopScenarioLoader, ApplyingReportsABundleThatCannotBeWritten)
{
    QTemporaryDir root;
    QFile blocker(root.path() + "/Applications");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly)); // a file where the folder should be
    blocker.close();
    DesktopScenario scenario;
    scenario.systemApplications = false;
    scenario.displays = {DisplaySpec{1, QRectF(0, 0, 800, 600), {}, {}, "Display", 1.0, 1, true}};
    BundleSpec app;
    app.path = "/Applications/A.app";
    scenario.bundles = {app};
    ManualScheduler scheduler;
    SimulatedDesktop desktop(scheduler, root.path());
    const QString error = desktop.applyScenario(scenario);
    EXPECT_TRUE(error.startsWith("bundles[0]: cannot create bundle folder")) << error.toStdString();
}

} // namespace

namespace {

TEST(DesktopScenarioLoader, DiagnosticPayloadsWaitForTheSubscriberAndArriveOffTheMainThread)
{
    const ScenarioLoadResult result = DesktopScenarioLoader::parse(
        withDisplay(R"(, "hardwareModel": "Workstation1,1", "darkAppearance": true,)"
                    R"( "diagnosticPayloads": [{"crashDiagnostics": [{"signal": 11}]}, {}])"));
    ASSERT_TRUE(result.ok()) << result.error.toStdString();
    QTemporaryDir root;
    ManualScheduler scheduler;
    SimulatedDesktop desktop(scheduler, root.path());
    ASSERT_TRUE(desktop.applyScenario(*result.scenario).isEmpty());
    EXPECT_EQ(desktop.hardwareModel(), "Workstation1,1");
    EXPECT_TRUE(desktop.isDarkAppearance());

    std::mutex mutex;
    std::vector<QByteArray> received;
    bool onMainThread = true;
    desktop.subscribeToDiagnosticPayloads([&](const std::vector<QByteArray>& payloads) {
        std::lock_guard lock(mutex);
        received.insert(received.end(), payloads.begin(), payloads.end());
        onMainThread = isMainThread();
    });
    desktop.deliverDiagnosticPayloads({R"({"hangDiagnostics":[{}]})"});
    desktop.workspace().waitForCompletions();
    std::lock_guard lock(mutex);
    ASSERT_EQ(received.size(), 3u);
    EXPECT_EQ(received[0], R"({"crashDiagnostics":[{"signal":11}]})");
    EXPECT_EQ(received[1], "{}");
    EXPECT_FALSE(onMainThread);
}

TEST(DesktopScenarioLoader, DiagnosticPayloadThatIsNotAnObjectIsNamed)
{
    const ScenarioLoadResult result = DesktopScenarioLoader::parse(withDisplay(R"(, "diagnosticPayloads": [{}, 3])"));
    EXPECT_EQ(result.error, "diagnosticPayloads[1]: expected an object");
}

} // namespace
