#include "SystemSettingsScene.h"

#include "enforcement/ScreenshotThumbnailSuppressionService.h"
#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/DesktopEventSystem.h"

using namespace vesk;

namespace {

const QString kRead = "/usr/bin/defaults read com.apple.screencapture show-thumbnail";
const QString kWriteFalse = "/usr/bin/defaults write com.apple.screencapture show-thumbnail -bool false";
const QString kWriteTrue = "/usr/bin/defaults write com.apple.screencapture show-thumbnail -bool true";
const QString kDelete = "/usr/bin/defaults delete com.apple.screencapture show-thumbnail";

class ScreenshotThumbnailSuppressionServiceTest : public test::SystemSettingsScene {
protected:
    QStringList thumbnailLog() const { return logs.messages(QStringLiteral("ScreenshotThumbnailSuppressionService")); }

    void setThumbnail(const std::optional<QVariant>& value)
    {
        if (value)
            desktop->defaults().setValue(screencapture, "show-thumbnail", *value);
        else
            desktop->defaults().remove(screencapture, "show-thumbnail");
    }

    // Command+Shift+3; whether it showed the floating thumbnail.
    bool screenshotShowsThumbnail()
    {
        const int before = desktop->events().screenshotThumbnailsShown();
        desktop->events().keyPress(20, platform::EventFlag::command | platform::EventFlag::shift);
        return desktop->events().screenshotThumbnailsShown() > before;
    }
};

TEST_F(ScreenshotThumbnailSuppressionServiceTest, ASessionHidesTheThumbnailAndPutsTheUsersSettingBack)
{
    EXPECT_TRUE(screenshotShowsThumbnail());
    auto suppression = makeThumbnailSuppression();
    suppression->activate();
    EXPECT_EQ(takeCommandLines(), (QStringList{kRead, kWriteFalse}));
    EXPECT_EQ(storedJson(ScreenshotThumbnailSuppressionService::backupDefaultsKey), json(R"({"bool":{"_0":true}})"));
    EXPECT_FALSE(screenshotShowsThumbnail());

    suppression->deactivate();
    EXPECT_EQ(takeCommandLines(), QStringList{kWriteTrue});
    EXPECT_TRUE(screenshotShowsThumbnail());
    EXPECT_FALSE(defaults->objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
    EXPECT_EQ(thumbnailLog(), (QStringList{"Backed up screenshot thumbnail preference — enabled=true",
                                           "Persisted screenshot thumbnail backup",
                                           "Wrote screenshot thumbnail preference — enabled=false",
                                           "Screenshot floating thumbnail disabled for active Vesk session",
                                           "Wrote screenshot thumbnail preference — enabled=true",
                                           "Screenshot floating thumbnail preference restored"}));
}

struct ReadCase {
    const char* name;
    std::optional<QVariant> before;
    const char* storedBackup;
    QString restoreCommand;
    QString afterwards;
};

class ThumbnailBackupTest : public ScreenshotThumbnailSuppressionServiceTest,
                            public ::testing::WithParamInterface<ReadCase> { };

// Anything but a clear yes is taken as "off" and written back as off; only a
// key that was never set is deleted.
TEST_P(ThumbnailBackupTest, TheUsersValueComesBackAsItWasRead)
{
    setThumbnail(GetParam().before);
    auto suppression = makeThumbnailSuppression();
    suppression->activate();
    EXPECT_EQ(storedJson(ScreenshotThumbnailSuppressionService::backupDefaultsKey), json(GetParam().storedBackup));
    takeCommandLines();
    suppression->deactivate();
    EXPECT_EQ(takeCommandLines(), QStringList{GetParam().restoreCommand});
    EXPECT_EQ(readBack(screencapture, "show-thumbnail"), GetParam().afterwards);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ThumbnailBackupTest,
    ::testing::Values(ReadCase{"on", true, R"({"bool":{"_0":true}})", kWriteTrue, "1"},
                      ReadCase{"yesText", QStringLiteral("YES"), R"({"bool":{"_0":true}})", kWriteTrue, "1"},
                      ReadCase{"off", false, R"({"bool":{"_0":false}})", kWriteFalse, "0"},
                      ReadCase{"noText", QStringLiteral("no"), R"({"bool":{"_0":false}})", kWriteFalse, "0"},
                      ReadCase{"garbage", QStringLiteral("maybe"), R"({"bool":{"_0":false}})", kWriteFalse, "0"},
                      ReadCase{"number", qlonglong(7), R"({"bool":{"_0":false}})", kWriteFalse, "0"},
                      ReadCase{"neverSet", std::nullopt, R"({"absent":{}})", kDelete, "<missing>"}),
    [](const auto& testCase) { return std::string(testCase.param.name); });

TEST_F(ScreenshotThumbnailSuppressionServiceTest, TheDelegatesInstanceRestoresWhatACrashedSessionLeft)
{
    makeThumbnailSuppression()->activate(); // the session's instance; the process ends
    takeCommandLines();

    auto shared = makeThumbnailSuppression();
    shared->emergencyRestore();
    EXPECT_EQ(takeCommandLines(), QStringList{kWriteTrue});
    EXPECT_FALSE(defaults->objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
    EXPECT_EQ(thumbnailLog().mid(thumbnailLog().indexOf("Emergency restore for screenshot thumbnail preference")),
              (QStringList{"Emergency restore for screenshot thumbnail preference",
                           "Wrote screenshot thumbnail preference — enabled=true"}));

    // The next session captures afresh.
    auto session = makeThumbnailSuppression();
    session->activate();
    EXPECT_EQ(takeCommandLines(), (QStringList{kRead, kWriteFalse}));
}

TEST_F(ScreenshotThumbnailSuppressionServiceTest, AfterANormalStopTheDelegatesInstanceFindsNothing)
{
    auto session = makeThumbnailSuppression();
    auto shared = makeThumbnailSuppression();
    session->activate();
    session->deactivate();
    takeCommandLines();
    logs.clear();

    shared->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(thumbnailLog().isEmpty());
}

TEST_F(ScreenshotThumbnailSuppressionServiceTest, ASessionAfterACrashReusesTheStoredValue)
{
    makeThumbnailSuppression()->activate();
    takeCommandLines();
    auto next = makeThumbnailSuppression();
    next->activate();
    EXPECT_EQ(takeCommandLines(), QStringList{kWriteFalse});
    EXPECT_TRUE(
        thumbnailLog().contains("Existing thumbnail backup found — reusing pre-VESK value instead of re-capturing"));
    next->deactivate();
    EXPECT_EQ(readBack(screencapture, "show-thumbnail"), "1");
}

TEST_F(ScreenshotThumbnailSuppressionServiceTest, RepeatedAndStrayCallsRunNothing)
{
    auto suppression = makeThumbnailSuppression();
    suppression->deactivate();
    suppression->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(thumbnailLog().isEmpty());

    suppression->activate();
    takeCommandLines();
    suppression->activate();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_EQ(thumbnailLog().last(), "activate called while already active");
}

TEST_F(ScreenshotThumbnailSuppressionServiceTest, AnUndecodableBackupStaysUntilASessionReplacesIt)
{
    defaults->setData(ScreenshotThumbnailSuppressionService::backupDefaultsKey, R"({"bool":{"_0":true},"absent":{}})");
    auto suppression = makeThumbnailSuppression();
    suppression->emergencyRestore();
    EXPECT_TRUE(takeCommandLines().isEmpty());
    EXPECT_TRUE(defaults->objectExists(ScreenshotThumbnailSuppressionService::backupDefaultsKey));
    EXPECT_EQ(thumbnailLog(),
              QStringList{"Failed to load screenshot thumbnail backup: Invalid number of keys found, expected one."});

    suppression->activate();
    EXPECT_EQ(takeCommandLines(), (QStringList{kRead, kWriteFalse}));
    EXPECT_EQ(storedJson(ScreenshotThumbnailSuppressionService::backupDefaultsKey), json(R"({"bool":{"_0":true}})"));
}

TEST_F(ScreenshotThumbnailSuppressionServiceTest, FailedCommandsLogTheToolsMessageAsItCame)
{
    setThumbnail(std::nullopt);
    auto suppression = makeThumbnailSuppression();
    suppression->activate();
    desktop->defaults().remove(screencapture, "show-thumbnail"); // someone removed it meanwhile
    suppression->deactivate();
    const QString line = thumbnailLog().filter("Failed to delete").value(0);
    // Untrimmed: the tool's blank first line is kept.
    EXPECT_TRUE(line.startsWith("Failed to delete temporary screenshot thumbnail preference — stderr=\n"))
        << line.toStdString();
    EXPECT_TRUE(line.endsWith("does not exist\n"));
    EXPECT_EQ(thumbnailLog().last(), "Screenshot floating thumbnail preference restored");

    desktop->commandRunner().setLaunchFailure(QStringLiteral("cannot start\n"));
    suppression->activate();
    EXPECT_TRUE(thumbnailLog().contains("Failed to write screenshot thumbnail preference — stderr=cannot start\n"));
    EXPECT_TRUE(suppression->isActive());
}

} // namespace
