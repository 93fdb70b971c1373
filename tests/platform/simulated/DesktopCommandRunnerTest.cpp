#include "DesktopTestScene.h"

#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopCommandRunner.h"

#include <QSignalSpy>

using namespace vesk;
using namespace vesk::platform;
using vesk::platform::testing::DesktopTestScene;

namespace {

class DesktopCommandRunnerTest : public DesktopTestScene {
protected:
    CommandResult defaults(const QStringList& arguments)
    {
        return desktop->commandRunner().run(DesktopCommandRunner::defaultsPath, arguments);
    }
};

struct WriteCase {
    const char* name;
    QStringList typeAndValue;
    QVariant stored;
    QString readBack;
};

class DesktopCommandRunnerWriteTest : public DesktopCommandRunnerTest,
                                      public ::testing::WithParamInterface<WriteCase> { };

TEST_P(DesktopCommandRunnerWriteTest, WriteStoresTheTypedValueAndReadPrintsIt)
{
    const WriteCase& c = GetParam();
    const CommandResult write = defaults(QStringList{"write", "com.apple.dock", "key"} + c.typeAndValue);
    EXPECT_EQ(write.exitStatus, 0) << write.standardError.toStdString();
    const auto stored = desktop->defaults().value("com.apple.dock", "key");
    ASSERT_TRUE(stored);
    EXPECT_EQ(*stored, c.stored);
    EXPECT_EQ(stored->typeId(), c.stored.typeId());
    EXPECT_EQ(defaults({"read", "com.apple.dock", "key"}), (CommandResult{0, c.readBack + "\n", ""}));
}

INSTANTIATE_TEST_SUITE_P(Types, DesktopCommandRunnerWriteTest,
                         ::testing::Values(WriteCase{"boolTrue", {"-bool", "true"}, true, "1"},
                                           WriteCase{"boolNo", {"-bool", "no"}, false, "0"},
                                           WriteCase{"integer", {"-int", "42"}, qlonglong(42), "42"},
                                           WriteCase{"float", {"-float", "1000"}, 1000.0, "1000"},
                                           WriteCase{"fraction", {"-float", "0.5"}, 0.5, "0.5"},
                                           WriteCase{"string", {"-string", "bottom"}, QString("bottom"), "bottom"},
                                           WriteCase{"untyped", {"left"}, QString("left"), "left"}),
                         [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DesktopCommandRunnerTest, MissingKeysAndBadArgumentsFailWithAMessage)
{
    const CommandResult missing = defaults({"read", "com.apple.dock", "autohide-delay"});
    EXPECT_EQ(missing.exitStatus, 1);
    EXPECT_TRUE(missing.standardOutput.isEmpty());
    EXPECT_TRUE(missing.standardError.contains("(com.apple.dock, autohide-delay) does not exist"));
    EXPECT_EQ(defaults({"delete", "com.apple.dock", "autohide-delay"}).exitStatus, 1);
    EXPECT_EQ(defaults({"write", "com.apple.dock", "autohide", "-bool", "maybe"}).exitStatus, 1);
    EXPECT_EQ(defaults({"write", "com.apple.dock", "autohide-delay", "-float", "inf"}).exitStatus, 1);
    EXPECT_EQ(defaults({"write", "com.apple.dock", "autohide", "-bool"}).exitStatus, 1);
    EXPECT_EQ(defaults({"frobnicate", "com.apple.dock"}).exitStatus, 1);
    EXPECT_FALSE(desktop->defaults().value("com.apple.dock", "autohide"));
    const CommandResult other = desktop->commandRunner().run("/usr/bin/osascript", {"-e", "beep"});
    EXPECT_EQ(other.exitStatus, 1);
    EXPECT_FALSE(other.standardError.isEmpty());
}

TEST_F(DesktopCommandRunnerTest, AMissingKeyIsReportedAsTheToolDoesAfterABlankLine)
{
    const CommandResult missing = defaults({"read", "com.apple.dock", "autohide-delay"});
    EXPECT_TRUE(missing.standardError.startsWith("\n"));
    const QStringList lines = missing.standardError.split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].contains(" defaults[")) << lines[1].toStdString();
    EXPECT_EQ(lines[2], "The domain/default pair of (com.apple.dock, autohide-delay) does not exist");
    EXPECT_EQ(lines[3], "");
}

TEST_F(DesktopCommandRunnerTest, EveryCommandIsRecordedInOrderAlsoWhenNoToolCanStart)
{
    std::vector<std::pair<QString, bool>> observed;
    desktop->commandRunner().setCommandObserver(
        [&](const QStringList& commandLine, bool finished) { observed.emplace_back(commandLine.join(' '), finished); });
    defaults({"write", "com.apple.dock", "autohide", "-bool", "true"});
    desktop->commandRunner().setLaunchFailure(QStringLiteral("launch path not accessible"));
    EXPECT_EQ(defaults({"delete", "com.apple.dock", "autohide"}), (CommandResult{1, "", "launch path not accessible"}));
    EXPECT_EQ(desktop->defaults().value("com.apple.dock", "autohide"), QVariant(true));
    desktop->commandRunner().setLaunchFailure(std::nullopt);
    desktop->commandRunner().run(DesktopCommandRunner::killallPath, {"Dock"});

    const std::vector<QStringList> expected{{"/usr/bin/defaults", "write", "com.apple.dock", "autohide", "-bool",
                                             "true"},
                                            {"/usr/bin/defaults", "delete", "com.apple.dock", "autohide"},
                                            {"/usr/bin/killall", "Dock"}};
    EXPECT_EQ(desktop->commandRunner().history(), expected);
    ASSERT_EQ(observed.size(), 6u);
    EXPECT_EQ(observed[0],
              std::make_pair(QString("/usr/bin/defaults write com.apple.dock autohide -bool true"), false));
    EXPECT_EQ(observed[1], std::make_pair(QString("/usr/bin/defaults write com.apple.dock autohide -bool true"), true));
    EXPECT_EQ(observed[5], std::make_pair(QString("/usr/bin/killall Dock"), true));
}

TEST_F(DesktopCommandRunnerTest, DeleteRemovesTheKey)
{
    defaults({"write", "com.apple.screencapture", "show-thumbnail", "-bool", "false"});
    EXPECT_EQ(defaults({"delete", "com.apple.screencapture", "show-thumbnail"}).exitStatus, 0);
    EXPECT_FALSE(desktop->defaults().value("com.apple.screencapture", "show-thumbnail"));
    EXPECT_EQ(defaults({"read", "com.apple.screencapture", "show-thumbnail"}).exitStatus, 1);
}

TEST_F(DesktopCommandRunnerTest, KillallDockRestartsTheDockWhichReadsItsSettings)
{
    const ProcessID oldDock = pidOf("com.apple.dock");
    QSignalSpy terminated(desktop.get(), &SimulatedDesktop::applicationTerminated);
    QSignalSpy launched(desktop.get(), &SimulatedDesktop::applicationLaunched);
    defaults({"write", "com.apple.dock", "autohide", "-bool", "true"});
    EXPECT_FALSE(desktop->appliedDockPreferences().contains("autohide"));

    EXPECT_EQ(desktop->commandRunner().run(DesktopCommandRunner::killallPath, {"Dock"}).exitStatus, 0);
    EXPECT_EQ(desktop->dockRestartCount(), 1);
    EXPECT_NE(pidOf("com.apple.dock"), oldDock);
    EXPECT_EQ(terminated.count(), 1);
    EXPECT_EQ(launched.count(), 1);
    EXPECT_EQ(desktop->appliedDockPreferences().value("autohide"), true);
    EXPECT_EQ(desktop->commandRunner().run(DesktopCommandRunner::killallPath, {"Finderx"}).exitStatus, 1);
    EXPECT_EQ(desktop->commandRunner().history().size(), 3u);
}

TEST_F(DesktopCommandRunnerTest, KillallWithoutARunningDockFails)
{
    desktop->forceTerminate(pidOf("com.apple.dock"));
    const CommandResult result = desktop->commandRunner().run(DesktopCommandRunner::killallPath, {"Dock"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(desktop->dockRestartCount(), 0);
}

} // namespace
