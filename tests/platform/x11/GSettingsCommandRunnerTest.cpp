#include "GSettingsScene.h"

#include "platform/x11/GSettingsCounterpart.h"

#include <QFile>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::GSettingsScene;

namespace {

const QString defaultsTool = QStringLiteral("/usr/bin/defaults");
const QString dockDomain = QStringLiteral("com.apple.dock");

struct DesktopCase {
    const char* name;
    const char* xdgCurrentDesktop;
    // Whether the desktop's notification banners and hot corners are GSettings keys.
    bool hasToggles;
    bool customised;
};

void PrintTo(const DesktopCase& desktop, std::ostream* out)
{
    *out << desktop.name;
}

class GSettingsSessionTest : public GSettingsScene, public ::testing::WithParamInterface<DesktopCase> {
protected:
    void SetUp() override
    {
        GSettingsScene::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        if (GetParam().customised)
            customise();
        before = snapshot();
        runner = runnerFor(QString::fromUtf8(GetParam().xdgCurrentDesktop));
    }

    // A user who changed some of the keys a session blocks, one of them to
    // what the session writes anyway.
    void customise()
    {
        set(wm, QStringLiteral("switch-applications"), QStringLiteral("['<Super>Tab']"));
        set(wm, QStringLiteral("switch-windows"), QStringLiteral("['<Super>Tab', '<Alt>Tab']"));
        set(wm, QStringLiteral("switch-to-workspace-left"), QStringLiteral("['<Control><Alt>Left', '<Super>Page_Up']"));
        set(wm, QStringLiteral("move-to-workspace-3"), QStringLiteral("['<Super><Shift>3']"));
        set(wm, QStringLiteral("panel-main-menu"), QStringLiteral("@as []"));
        set(notifications, QStringLiteral("show-banners"), QStringLiteral("false"));
    }

    void startSession()
    {
        // The schemas' own values are not what a session writes either.
        ASSERT_NE(before.at(wm + " switch-applications"), "@as []");
        ASSERT_EQ(before.at(interface + " enable-hot-corners"), "true");
        dock = dockFallback(*runner);
        thumbnails = thumbnailSuppression(*runner);
        dock->activate();
        thumbnails->activate();
    }

    // What a session blocks on this desktop, and that nothing else changed.
    void expectBlocked()
    {
        const std::map<QString, QString> during = snapshot();
        const std::vector<QString> blocked{wm + " switch-windows",           wm + " switch-applications",
                                           wm + " switch-to-workspace-left", wm + " switch-to-workspace-1",
                                           wm + " move-to-workspace-3",      wm + " move-to-workspace-right",
                                           wm + " panel-main-menu"};
        for (const QString& key : blocked)
            EXPECT_EQ(during.at(key), "@as []") << key.toStdString();
        const QString hotCorners = interface + " enable-hot-corners";
        const QString banners = notifications + " show-banners";
        EXPECT_EQ(during.at(hotCorners), GetParam().hasToggles ? "false" : before.at(hotCorners));
        EXPECT_EQ(during.at(banners), GetParam().hasToggles ? "false" : before.at(banners));
        std::vector<GSettingsKey> mapped;
        for (const auto& counterpart : GSettingsCounterpart::forFamily(runner->family())) {
            for (const auto& target : counterpart.targets)
                mapped.push_back(target.key);
        }
        for (const auto& [key, value] : during) {
            const qsizetype space = key.indexOf(' ');
            const GSettingsKey gsettingsKey{key.left(space), key.mid(space + 1)};
            if (std::find(mapped.begin(), mapped.end(), gsettingsKey) == mapped.end()) {
                EXPECT_EQ(value, before.at(key)) << key.toStdString();
            }
        }
    }

    std::map<QString, QString> before;
    std::unique_ptr<GSettingsCommandRunner> runner;
    std::unique_ptr<DockMissionControlFallbackService> dock;
    std::unique_ptr<ScreenshotThumbnailSuppressionService> thumbnails;
};

TEST_P(GSettingsSessionTest, TheStopPutsEveryKeyBackAsTheUserHadIt)
{
    startSession();
    expectBlocked();

    dock->deactivate();
    thumbnails->deactivate();
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_FALSE(defaults->objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
}

// The crash path on the desktops where the user's own values differ most.
class GSettingsCrashTest : public GSettingsSessionTest { };

TEST_P(GSettingsCrashTest, TheLaunchAfterACrashPutsEveryKeyBack)
{
    startSession();
    expectBlocked();
    // The process ends without a stop; the next launch has a runner and services of its own.
    dock.reset();
    thumbnails.reset();
    runner = runnerFor(QString::fromUtf8(GetParam().xdgCurrentDesktop));

    dockFallback(*runner)->emergencyRestore();
    thumbnailSuppression(*runner)->emergencyRestore();
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_FALSE(defaults->objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
}

INSTANTIATE_TEST_SUITE_P(Desktops, GSettingsSessionTest,
                         ::testing::Values(DesktopCase{"GnomeAsInstalled", "ubuntu:GNOME", true, false},
                                           DesktopCase{"GnomeCustomised", "ubuntu:GNOME", true, true},
                                           DesktopCase{"BudgieCustomised", "Budgie:GNOME", false, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

INSTANTIATE_TEST_SUITE_P(Desktops, GSettingsCrashTest,
                         ::testing::Values(DesktopCase{"GnomeCustomised", "ubuntu:GNOME", true, true},
                                           DesktopCase{"BudgieCustomised", "Budgie:GNOME", false, true}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

struct MissingCase {
    const char* name;
    const char* xdgCurrentDesktop;
    const char* logLine;
};

void PrintTo(const MissingCase& desktop, std::ostream* out)
{
    *out << desktop.name;
}

class GSettingsMissingDesktopTest : public GSettingsScene, public ::testing::WithParamInterface<MissingCase> { };

TEST_P(GSettingsMissingDesktopTest, ASessionChangesNothingAndSaysSoOnce)
{
    const std::map<QString, QString> before = snapshot();
    auto runner = runnerFor(QString::fromUtf8(GetParam().xdgCurrentDesktop));
    for (int session = 0; session < 2; ++session) {
        auto dock = dockFallback(*runner);
        auto thumbnails = thumbnailSuppression(*runner);
        dock->activate();
        thumbnails->activate();
        dock->deactivate();
        thumbnails->deactivate();
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_FALSE(QFile::exists(keyFile()));
    EXPECT_EQ(runnerLog(), QStringList{QString::fromUtf8(GetParam().logLine)});
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, GSettingsMissingDesktopTest,
    ::testing::Values(MissingCase{"MateWithoutItsSchemas", "MATE",
                                  "None of the MATE GSettings schemas that a session changes is installed; the "
                                  "desktop's settings are left as they are"},
                      MissingCase{"Xfce", "XFCE",
                                  "The desktop \"XFCE\" keeps none of the settings a session changes in GSettings; "
                                  "they are left as they are"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

// A desktop whose window manager keeps each binding as one text, and whose
// notification switch has the opposite sense: schemas of the test's own in
// the shape of MATE's.
class GSettingsSingleTextBindingsTest : public GSettingsScene {
protected:
    static inline const QString global = QStringLiteral("org.mate.Marco.global-keybindings");
    static inline const QString window = QStringLiteral("org.mate.Marco.window-keybindings");
    static inline const QString daemon = QStringLiteral("org.mate.NotificationDaemon");

    void SetUp() override
    {
        GSettingsScene::SetUp();
        if (IsSkipped())
            return;
        installSchemas(R"(<schemalist>
  <schema id="org.mate.Marco.global-keybindings" path="/org/mate/marco/global-keybindings/">
    <key name="switch-windows" type="s"><default>'&lt;Alt&gt;Tab'</default></key>
    <key name="show-desktop" type="s"><default>'&lt;Control&gt;&lt;Alt&gt;d'</default></key>
    <key name="switch-to-workspace-left" type="s"><default>'&lt;Control&gt;&lt;Alt&gt;Left'</default></key>
    <key name="switch-to-workspace-2" type="s"><default>'disabled'</default></key>
  </schema>
  <schema id="org.mate.Marco.window-keybindings" path="/org/mate/marco/window-keybindings/">
    <key name="move-to-workspace-left" type="s"><default>'&lt;Control&gt;&lt;Shift&gt;&lt;Alt&gt;Left'</default></key>
    <key name="maximize" type="s"><default>'&lt;Alt&gt;F10'</default></key>
  </schema>
  <schema id="org.mate.NotificationDaemon" path="/org/mate/notification-daemon/">
    <key name="do-not-disturb" type="b"><default>false</default></key>
  </schema>
</schemalist>)");
        ASSERT_TRUE(user->listSchemas().value_or(QStringList()).contains(global));
        snapshotSchemas << global << window << daemon;
    }
};

TEST_F(GSettingsSingleTextBindingsTest, ASessionDisablesTheBindingsAndTheStopPutsThemBack)
{
    set(global, QStringLiteral("switch-windows"), QStringLiteral("'<Super>Tab'"));
    const std::map<QString, QString> before = snapshot();
    auto runner = runnerFor(QStringLiteral("MATE"));
    auto dock = dockFallback(*runner);
    auto thumbnails = thumbnailSuppression(*runner);
    dock->activate();
    thumbnails->activate();

    for (const QString key : {"switch-windows", "show-desktop", "switch-to-workspace-left", "switch-to-workspace-2"})
        EXPECT_EQ(value(global, key), "'disabled'") << key.toStdString();
    EXPECT_EQ(value(window, QStringLiteral("move-to-workspace-left")), "'disabled'");
    EXPECT_EQ(value(window, QStringLiteral("maximize")), "'<Alt>F10'");
    EXPECT_EQ(value(daemon, QStringLiteral("do-not-disturb")), "true");
    EXPECT_EQ(value(wm, QStringLiteral("switch-applications")), before.at(wm + " switch-applications"));

    dock->deactivate();
    thumbnails->deactivate();
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(logs.count(
                  "MATE lacks some GSettings keys that stand for (com.apple.dock, mcx-expose-disabled); the others are "
                  "used. Missing: org.mate.Marco.global-keybindings panel-main-menu,"),
              1);
    EXPECT_EQ(logs.count("MATE has no GSettings counterpart of (com.apple.dock, autohide); left as it is"), 1);
}

class GSettingsCommandRunnerTest : public GSettingsScene {
protected:
    CommandResult defaultsCommand(GSettingsCommandRunner& runner, const QStringList& arguments)
    {
        return runner.run(defaultsTool, arguments);
    }
};

TEST_F(GSettingsCommandRunnerTest, EachKeyWithoutCounterpartIsLoggedOnce)
{
    auto runner = runnerFor(QStringLiteral("GNOME"));
    for (int round = 0; round < 2; ++round) {
        for (const char* key : {"autohide", "autohide-delay"}) {
            EXPECT_EQ(defaultsCommand(*runner, {"read", dockDomain, key}).exitStatus, 1);
            EXPECT_EQ(defaultsCommand(*runner, {"write", dockDomain, key, "-bool", "true"}).exitStatus, 0);
            EXPECT_EQ(defaultsCommand(*runner, {"delete", dockDomain, key}).exitStatus, 0);
        }
    }
    EXPECT_EQ(runnerLog(),
              (QStringList{"GNOME has no GSettings counterpart of (com.apple.dock, autohide); left as it is",
                           "GNOME has no GSettings counterpart of (com.apple.dock, autohide-delay); left as it is"}));
}

TEST_F(GSettingsCommandRunnerTest, ABackupTextNamingAnotherSettingWritesNothing)
{
    auto runner = runnerFor(QStringLiteral("GNOME"));
    const QString theme = value(interface, QStringLiteral("gtk-theme"));
    const QString switcher = value(wm, QStringLiteral("switch-windows"));
    const CommandResult result = defaultsCommand(
        *runner,
        {"write", dockDomain, "mcx-expose-disabled",
         R"({"org.gnome.desktop.wm.keybindings switch-windows":"@as []","org.gnome.desktop.interface gtk-theme":"'Evil'"})"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_TRUE(result.standardError.contains("org.gnome.desktop.interface gtk-theme"))
        << result.standardError.toStdString();
    EXPECT_EQ(value(interface, QStringLiteral("gtk-theme")), theme);
    EXPECT_EQ(value(wm, QStringLiteral("switch-windows")), switcher);
}

// What a restore does where the backup holds no GSettings values: the key was
// not there, or a boolean that is not the session's.
TEST_F(GSettingsCommandRunnerTest, DeletingOrUnblockingAKeyResetsItsSettingsToTheSchemaDefaults)
{
    const QString schemaDefault = value(wm, QStringLiteral("switch-applications"));
    for (const QStringList& command : {QStringList{"delete", dockDomain, "mcx-expose-disabled"},
                                       QStringList{"write", dockDomain, "mcx-expose-disabled", "-bool", "false"}}) {
        set(wm, QStringLiteral("switch-applications"), QStringLiteral("['<Super>Tab']"));
        auto runner = runnerFor(QStringLiteral("GNOME"));
        EXPECT_EQ(defaultsCommand(*runner, command), CommandResult{}) << command.join(' ').toStdString();
        EXPECT_EQ(value(wm, QStringLiteral("switch-applications")), schemaDefault) << command.join(' ').toStdString();
    }
    set(interface, QStringLiteral("enable-hot-corners"), QStringLiteral("false"));
    EXPECT_EQ(defaultsCommand(*runnerFor(QStringLiteral("GNOME")),
                              {"delete", dockDomain, "showMissionControlGestureEnabled"}),
              CommandResult{});
    EXPECT_EQ(value(interface, QStringLiteral("enable-hot-corners")), "true");
}

TEST_F(GSettingsCommandRunnerTest, AToggleReadsAndWritesAsTheDefaultsBoolean)
{
    auto runner = runnerFor(QStringLiteral("GNOME"));
    const QStringList key{"com.apple.screencapture", "show-thumbnail"};
    EXPECT_EQ(defaultsCommand(*runner, QStringList{"read"} + key).standardOutput, "true\n");
    EXPECT_EQ(defaultsCommand(*runner, QStringList{"write"} + key + QStringList{"-bool", "false"}).exitStatus, 0);
    EXPECT_EQ(value(notifications, QStringLiteral("show-banners")), "false");
    EXPECT_EQ(defaultsCommand(*runner, QStringList{"read"} + key).standardOutput, "false\n");
}

TEST_F(GSettingsCommandRunnerTest, RestartingTheDockNeedsNothingAndOtherToolsDoNotRun)
{
    auto runner = runnerFor(QStringLiteral("GNOME"));
    EXPECT_EQ(runner->run("/usr/bin/killall", {"Dock"}), CommandResult{});
    EXPECT_EQ(runner->run("/usr/bin/killall", {"Finder"}).exitStatus, 1);
    EXPECT_EQ(runner->run("/usr/bin/open", {"-a", "Mail"}).exitStatus, 1);
    EXPECT_FALSE(QFile::exists(keyFile()));
}

TEST_F(GSettingsCommandRunnerTest, WithoutTheToolNothingIsInstalledAndThatIsSaidOnce)
{
    GSettingsCommandRunner runner(std::make_unique<GSettingsTool>(environment, folder.filePath("no-gsettings")),
                                  QStringLiteral("GNOME"));
    for (int round = 0; round < 2; ++round) {
        EXPECT_EQ(defaultsCommand(runner, {"read", dockDomain, "mcx-expose-disabled"}).exitStatus, 1);
        EXPECT_EQ(defaultsCommand(runner, {"write", dockDomain, "mcx-expose-disabled", "-bool", "true"}).exitStatus, 0);
    }
    const QStringList log = runnerLog();
    ASSERT_EQ(log.size(), 2) << log.join('\n').toStdString();
    EXPECT_TRUE(log[0].startsWith("The installed GSettings schemas could not be listed: ")) << log[0].toStdString();
    EXPECT_EQ(log[1], "None of the GNOME GSettings schemas that a session changes is installed; the desktop's settings "
                      "are left as they are");
}

TEST(GSettingsToolTest, AToolThatDoesNotEndInTimeIsStoppedAndFails)
{
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("slow-gsettings"));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec sleep 30\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    GSettingsTool tool(QProcessEnvironment::systemEnvironment(), program, 100);
    const GSettingsTool::Result result = tool.get({"org.gnome.desktop.interface", "gtk-theme"});
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains("did not end within 100 ms")) << result.error.toStdString();
}

} // namespace
