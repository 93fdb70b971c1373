#include "update/VeskUpdaterDriver.h"

#include "LogCapture.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace vesk {
namespace {

using platform::UserUpdateChoice;
using platform::UserUpdateState;
using Phase = SoftwareUpdateViewModel::Phase;

const platform::UpdateFeedItem item{QStringLiteral("1.2.0"), QStringLiteral("1.2"), 4096, std::nullopt, {}};

// Records which held block was called and with what, in order.
class VeskUpdaterDriverTest : public ::testing::Test {
protected:
    platform::UpdateUserDriver::Reply reply(const QString& name)
    {
        return [this, name](UserUpdateChoice choice) {
            calls << QStringLiteral("%1 %2").arg(name).arg(static_cast<int>(choice));
        };
    }
    platform::UpdateUserDriver::Action action(const QString& name)
    {
        return [this, name] { calls << name; };
    }

    SoftwareUpdateViewModel model;
    VeskUpdaterDriver driver{model};
    QStringList calls;
};

TEST_F(VeskUpdaterDriverTest, DismissAnswersEveryHeldBlockOnceInOrder)
{
    driver.showUserInitiatedUpdateCheck(action("check"));
    driver.showDownloadInitiated(action("download"));
    driver.showUpdaterError(QStringLiteral("x"), action("ack"));
    driver.showReadyToInstallAndRelaunch(reply("install"));
    driver.showUpdateFound(item, {}, reply("found"));
    driver.showUserInitiatedUpdateCheck(action("check"));
    driver.dismissUpdateFlow();
    EXPECT_EQ(calls, (QStringList{"found 2", "install 2", "check", "download", "ack"}));
    EXPECT_EQ(model.phase(), Phase::idle);
    EXPECT_FALSE(model.isPresented());

    driver.dismissUpdateFlow();
    EXPECT_EQ(calls.size(), 5) << "a second dismissal calls nothing";
}

TEST_F(VeskUpdaterDriverTest, InstallAnswersTheFoundUpdateOnce)
{
    driver.showUserInitiatedUpdateCheck(action("check"));
    driver.showUpdateFound(item, {}, reply("found"));
    EXPECT_EQ(model.phase(), Phase::available);
    EXPECT_EQ(model.updateInfo()->contentLength, 4096u);
    driver.installUpdate();
    driver.installUpdate();
    driver.dismissUpdateFlow();
    EXPECT_EQ(calls, (QStringList{"found 1"})) << "the found update ends the check without cancelling it";
}

TEST_F(VeskUpdaterDriverTest, AnUpdateAlreadyInstallingIsReadyAtOnce)
{
    for (auto stage : {UserUpdateState::Stage::notDownloaded, UserUpdateState::Stage::downloaded}) {
        driver.showUpdateFound(item, {stage, true}, reply("found"));
        EXPECT_EQ(model.phase(), Phase::available);
        driver.dismissUpdateFlow();
    }
    calls.clear();
    driver.showUpdateFound(item, {UserUpdateState::Stage::installing, true}, reply("found"));
    EXPECT_EQ(model.phase(), Phase::ready);
    EXPECT_EQ(model.updateInfo(), std::nullopt);
    driver.installUpdate();
    EXPECT_TRUE(calls.isEmpty());
    driver.installAndRelaunch();
    EXPECT_EQ(calls, (QStringList{"found 1"}));
}

TEST_F(VeskUpdaterDriverTest, TheUpdatersOwnDismissalDropsBlocksWithoutCallingThem)
{
    driver.showUpdateFound(item, {}, reply("found"));
    driver.showDownloadInitiated(action("download"));
    driver.showDownloadInitiated(action("second download"));
    driver.showUpdateNotFound(QStringLiteral("x"), action("ack"));
    driver.dismissUpdateInstallation();
    EXPECT_EQ(model.phase(), Phase::idle);
    driver.dismissUpdateFlow();
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(VeskUpdaterDriverTest, ExtractionEndsTheDownloadsCancellation)
{
    driver.showDownloadInitiated(action("download"));
    driver.showDownloadDidReceiveExpectedContentLength(1000);
    driver.showDownloadDidReceiveDataOfLength(400);
    EXPECT_DOUBLE_EQ(model.progress(), 0.4);
    driver.showDownloadDidStartExtractingUpdate();
    EXPECT_EQ(model.progress(), 1.0);
    driver.dismissUpdateFlow();
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(VeskUpdaterDriverTest, RepliesToPermissionAndAcknowledgesTheInstallAtOnce)
{
    test::LogCapture log;
    std::optional<platform::UpdatePermissionResponse> response;
    driver.showUpdatePermissionRequest([&](platform::UpdatePermissionResponse r) { response = r; });
    ASSERT_TRUE(response);
    EXPECT_TRUE(response->automaticUpdateChecks);
    EXPECT_FALSE(response->sendSystemProfile);
    driver.showInstallingUpdate(false, action("retry"));
    driver.showUpdateInstalledAndRelaunched(true, action("installed ack"));
    EXPECT_EQ(calls, (QStringList{"installed ack"}));
    driver.showUpdateInFocus();
    EXPECT_TRUE(model.isPresented());
    EXPECT_TRUE(log.messages(QStringLiteral("VeskUpdaterDriver"))
                    .contains(QStringLiteral("Installing update — applicationTerminated=false")));
    EXPECT_TRUE(log.messages(QStringLiteral("VeskUpdaterDriver"))
                    .contains(QStringLiteral("Update installed and relaunched=true")));
}

} // namespace
} // namespace vesk
