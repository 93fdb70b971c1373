#include "SystemSettingsScene.h"

#include "enforcement/DockMissionControlFallbackService.h"
#include "platform/simulated/DefaultsDomains.h"

using namespace vesk;

namespace {

// The user's Dock as stored before the first change, in the encoder's member order.
const char* kUserBackupJson = R"({"showDesktopGestureEnabled":{"existing":{"_0":{"raw":{"_0":"2"}}}},)"
                              R"("mcx-expose-disabled":{"missing":{}},)"
                              R"("autohide-delay":{"existing":{"_0":{"float":{"_0":0.5}}}},)"
                              R"("showMissionControlGestureEnabled":{"existing":{"_0":{"bool":{"_0":true}}}},)"
                              R"("showAppExposeGestureEnabled":{"missing":{}},)"
                              R"("autohide":{"existing":{"_0":{"bool":{"_0":false}}}},)"
                              R"("workspaces-auto-swoosh":{"existing":{"_0":{"bool":{"_0":true}}}}})";

class DockMissionControlFallbackServiceTest : public test::SystemSettingsScene {
protected:
    QStringList dockLog() const { return logs.messages(QStringLiteral("DockMissionControlFallbackService")); }
};

TEST_F(DockMissionControlFallbackServiceTest, ASessionBacksUpForcesRestartsAndRestoresTheUsersDock)
{
    auto fallback = makeDockFallback();
    fallback->activate();

    EXPECT_EQ(takeCommandLines(), test::kDockCaptureAndForce);
    EXPECT_TRUE(fallback->isActive());
    EXPECT_EQ(storedJson(DockMissionControlFallbackService::backupDefaultsKey), json(kUserBackupJson));
    // The restarted Dock runs with the session's settings.
    EXPECT_EQ(desktop->dockRestartCount(), 1);
    EXPECT_EQ(desktop->appliedDockPreferences().value("mcx-expose-disabled"), true);
    EXPECT_EQ(desktop->appliedDockPreferences().value("autohide-delay"), 1000.0);
    EXPECT_FALSE(desktop->isDockShown());
    EXPECT_TRUE(dockLog().contains("Dock restarted (fallback-activate)"));

    fallback->deactivate();
    EXPECT_EQ(takeCommandLines(), test::kDockRestore);
    EXPECT_FALSE(fallback->isActive());
    EXPECT_TRUE(fallback->backupByKey().empty());
    EXPECT_FALSE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_EQ(settingsReadBack().mid(0, 7), test::kUserSystemSettings.mid(0, 7));
    EXPECT_EQ(readBack(dock, "orientation"), "left");
    EXPECT_EQ(desktop->dockRestartCount(), 2);
    EXPECT_TRUE(desktop->isDockShown());
    EXPECT_EQ(dockLog().mid(dockLog().indexOf("Deactivating Dock Mission Control fallback")),
              (QStringList{"Deactivating Dock Mission Control fallback",
                           "Defaults delete (restore) success: key=mcx-expose-disabled",
                           "Defaults write (restore) success: key=showMissionControlGestureEnabled, value=true",
                           "Defaults delete (restore) success: key=showAppExposeGestureEnabled",
                           "Defaults write (restore) success: key=showDesktopGestureEnabled, value=2",
                           "Defaults write (restore) success: key=workspaces-auto-swoosh, value=true",
                           "Defaults write (restore) success: key=autohide, value=false",
                           "Defaults write (restore) success: key=autohide-delay, value=0.5",
                           "Dock restarted (fallback-deactivate)"}));
}

TEST_F(DockMissionControlFallbackServiceTest, ARepeatedActivationAndADeactivationWhileInactiveRunNothing)
{
    auto fallback = makeDockFallback();
    fallback->deactivate();
    fallback->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(dockLog().isEmpty());

    fallback->activate();
    takeCommandLines();
    fallback->activate();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_EQ(dockLog().last(), "activate called while fallback is already active");
}

TEST_F(DockMissionControlFallbackServiceTest, AfterACrashTheNextLaunchRestoresFromTheStoredBackup)
{
    makeDockFallback()->activate(); // the process ends with the Dock changed
    takeCommandLines();

    auto afterRelaunch = makeDockFallback();
    afterRelaunch->emergencyRestore();
    EXPECT_EQ(takeCommandLines(), test::kDockRestore);
    EXPECT_EQ(settingsReadBack().mid(0, 7), test::kUserSystemSettings.mid(0, 7));
    EXPECT_FALSE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_TRUE(dockLog().contains("Emergency restore for Dock Mission Control fallback"));
    EXPECT_EQ(dockLog().last(), "Dock restarted (fallback-emergency-restore)");

    // Nothing left to restore: the following launch runs nothing.
    takeCommandLines();
    logs.clear();
    makeDockFallback()->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(dockLog().isEmpty());
}

TEST_F(DockMissionControlFallbackServiceTest, ASessionAfterACrashReusesTheBackupInsteadOfReadingTheForcedValues)
{
    makeDockFallback()->activate();
    takeCommandLines();

    auto next = makeDockFallback();
    next->activate();
    EXPECT_EQ(takeCommandLines(), test::kDockCaptureAndForce.mid(7));
    EXPECT_TRUE(dockLog().contains("Existing Dock backup found — reusing pre-VESK values instead of re-capturing"));
    next->deactivate();
    EXPECT_EQ(settingsReadBack().mid(0, 7), test::kUserSystemSettings.mid(0, 7));
}

TEST_F(DockMissionControlFallbackServiceTest, TheStoredBackupDecodesFromItsJsonForm)
{
    const auto decoded = DockMissionControlFallbackService::decodeBackup(kUserBackupJson);
    ASSERT_TRUE((std::holds_alternative<std::map<QString, DockPreferenceBackupState>>(decoded)));
    const auto& backup = std::get<std::map<QString, DockPreferenceBackupState>>(decoded);
    const std::map<QString, DockPreferenceBackupState> expected{
        {"mcx-expose-disabled", DockPreferenceBackupState::missing()},
        {"showMissionControlGestureEnabled", DockPreferenceBackupState::existingValue({true})},
        {"showAppExposeGestureEnabled", DockPreferenceBackupState::missing()},
        {"showDesktopGestureEnabled", DockPreferenceBackupState::existingValue({QStringLiteral("2")})},
        {"workspaces-auto-swoosh", DockPreferenceBackupState::existingValue({true})},
        {"autohide", DockPreferenceBackupState::existingValue({false})},
        {"autohide-delay", DockPreferenceBackupState::existingValue({0.5})},
    };
    EXPECT_EQ(backup, expected);
    const auto encoded = DockMissionControlFallbackService::encodeBackup(expected);
    ASSERT_TRUE(std::holds_alternative<QByteArray>(encoded));
    EXPECT_EQ(QJsonDocument::fromJson(std::get<QByteArray>(encoded)).object(), json(kUserBackupJson));
}

struct BadBackupCase {
    const char* name;
    const char* json;
    const char* failure;
};

class DockBackupDecodingTest : public ::testing::TestWithParam<BadBackupCase> { };

TEST_P(DockBackupDecodingTest, AnyOtherShapeFailsWithItsReason)
{
    const auto decoded = DockMissionControlFallbackService::decodeBackup(GetParam().json);
    ASSERT_TRUE(std::holds_alternative<QString>(decoded));
    EXPECT_EQ(std::get<QString>(decoded), QString::fromUtf8(GetParam().failure));
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DockBackupDecodingTest,
    ::testing::Values(
        BadBackupCase{"noCase", R"({"autohide":{}})",
                      "Invalid number of keys found, expected one. — codingPath=autohide"},
        BadBackupCase{"twoCases", R"({"autohide":{"missing":{},"existing":{"_0":{"bool":{"_0":true}}}}})",
                      "Invalid number of keys found, expected one. — codingPath=autohide"},
        BadBackupCase{"unknownCase", R"({"autohide":{"absent":{}}})", "Unknown case \"absent\". — codingPath=autohide"},
        BadBackupCase{"twoValueKinds", R"({"autohide":{"existing":{"_0":{"bool":{"_0":true},"raw":{"_0":"1"}}}}})",
                      "Invalid number of keys found, expected one. — codingPath=autohide.existing._0"},
        BadBackupCase{"wrongPayload", R"({"autohide":{"existing":{"_0":{"bool":{"_0":"yes"}}}}})",
                      "Expected to decode a boolean. — codingPath=autohide.existing._0.bool._0"},
        BadBackupCase{"noPayload", R"({"autohide":{"existing":{}}})",
                      "No value associated with key \"_0\". — codingPath=autohide.existing"},
        BadBackupCase{"notAnObject", R"(["autohide"])", "Expected a dictionary of backup states."}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(DockMissionControlFallbackServiceTest, AnUndecodableBackupIsKeptAtLaunchAndReplacedByTheNextCapture)
{
    defaults->setData(DockMissionControlFallbackService::backupDefaultsKey, R"({"autohide":{}})");
    auto fallback = makeDockFallback();
    fallback->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_EQ(dockLog(), QStringList{"Failed to load persisted Dock fallback backup: Invalid number of keys found, "
                                     "expected one. — codingPath=autohide"});

    fallback->activate();
    EXPECT_EQ(takeCommandLines(), test::kDockCaptureAndForce);
    EXPECT_EQ(storedJson(DockMissionControlFallbackService::backupDefaultsKey), json(kUserBackupJson));
}

TEST_F(DockMissionControlFallbackServiceTest, ABackupThatCannotBeStoredStillRestoresAtDeactivation)
{
    // A delay JSON cannot hold: the backup lives in memory only.
    desktop->defaults().setValue(dock, "autohide-delay", QStringLiteral("inf"));
    auto fallback = makeDockFallback();
    fallback->activate();
    EXPECT_FALSE(defaults->objectExists(DockMissionControlFallbackService::backupDefaultsKey));
    EXPECT_TRUE(dockLog().contains("Failed to persist Dock fallback backup: Unable to encode inf directly in JSON. — "
                                   "codingPath=autohide-delay.existing._0.float"));

    fallback->deactivate();
    EXPECT_EQ(readBack(dock, "autohide"), "0");
    EXPECT_EQ(readBack(dock, "showDesktopGestureEnabled"), "2");
}

TEST_F(DockMissionControlFallbackServiceTest, FailedToolsAreLoggedAndTheSequenceGoesOn)
{
    desktop->forceTerminate(pidOf("com.apple.dock"));
    desktop->commandRunner().setLaunchFailure(QStringLiteral("  launch path not accessible\n"));
    auto fallback = makeDockFallback();
    fallback->activate();

    EXPECT_EQ(takeCommandLines(), test::kDockCaptureAndForce);
    EXPECT_TRUE(fallback->isActive());
    // A read that fails counts as a key that was missing.
    for (const auto& [key, state] : fallback->backupByKey())
        EXPECT_TRUE(state.isMissing()) << key.toStdString();
    EXPECT_TRUE(dockLog().contains("Backup read: key=autohide missing (stderr=launch path not accessible)"));
    EXPECT_TRUE(
        dockLog().contains("Defaults write (activate) failed: key=autohide, stderr=launch path not accessible"));

    desktop->commandRunner().setLaunchFailure(std::nullopt);
    fallback->deactivate();
    EXPECT_TRUE(dockLog().contains("Dock restart failed (fallback-deactivate): No matching processes belonging to you "
                                   "were found"));
    EXPECT_FALSE(fallback->isActive());
}

TEST_F(DockMissionControlFallbackServiceTest, TheMissingKeyMessageOfTheToolIsTrimmedInTheLog)
{
    makeDockFallback()->activate();
    const QString line = dockLog().filter("key=mcx-expose-disabled missing").value(0);
    EXPECT_TRUE(line.startsWith("Backup read: key=mcx-expose-disabled missing (stderr="));
    EXPECT_TRUE(line.endsWith("The domain/default pair of (com.apple.dock, mcx-expose-disabled) does not exist)"));
    EXPECT_FALSE(line.contains("stderr=\n"));
}

} // namespace
