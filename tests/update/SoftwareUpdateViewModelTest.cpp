#include "update/SoftwareUpdateViewModel.h"

#include "LogCapture.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace vesk {
namespace {

using Phase = SoftwareUpdateViewModel::Phase;
using Info = SoftwareUpdateViewModel::UpdateInfo;

const Info info{QStringLiteral("1.2"), QStringLiteral("1.2.0"), 1000, QStringLiteral("<p>Neu</p>")};

TEST(SoftwareUpdateViewModelTest, ReportingOperationsShowThePanelAndLog)
{
    test::LogCapture log;
    SoftwareUpdateViewModel model;
    model.checkStarted();
    EXPECT_EQ(model.phase(), Phase::checking);
    EXPECT_TRUE(model.isPresented());

    model.updateFound(info);
    EXPECT_EQ(model.phase(), Phase::available);
    EXPECT_EQ(model.updateInfo(), info);
    EXPECT_EQ(model.expectedContentLength(), 1000u);

    model.updateFailed(QStringLiteral("kaputt"));
    EXPECT_EQ(model.phase(), Phase::error);
    EXPECT_EQ(model.errorMessage(), QStringLiteral("kaputt"));
    EXPECT_EQ(model.updateInfo(), info) << "an error keeps the update info";

    model.checkStarted();
    EXPECT_EQ(model.errorMessage(), std::nullopt);
    EXPECT_EQ(model.updateInfo(), info) << "a new check keeps the update info";

    model.noUpdateFound();
    EXPECT_EQ(model.phase(), Phase::upToDate);
    model.readyToInstall();
    EXPECT_EQ(model.phase(), Phase::ready);
    EXPECT_EQ(model.progress(), 1.0);

    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateViewModel")),
              (QStringList{"Update check started (user-initiated)", "Update available — version=1.2.0, bytes=1000",
                           "Update error — kaputt", "Update check started (user-initiated)",
                           "No update available — up to date", "Update ready to install"}));
}

TEST(SoftwareUpdateViewModelTest, ProgressIsTheShareOfTheExpectedLengthCappedAtOne)
{
    SoftwareUpdateViewModel model;
    model.updateFound(info);
    model.setPresented(false);
    model.downloadStarted(0);
    EXPECT_EQ(model.expectedContentLength(), 1000u) << "0 keeps the length from the update info";
    EXPECT_FALSE(model.isPresented()) << "a download does not bring the panel back";
    model.downloadProgressed(250);
    EXPECT_DOUBLE_EQ(model.progress(), 0.25);
    model.downloadStarted(500);
    model.downloadProgressed(250);
    EXPECT_DOUBLE_EQ(model.progress(), 0.5);
    model.downloadProgressed(400);
    EXPECT_EQ(model.downloadedBytes(), 650u);
    EXPECT_DOUBLE_EQ(model.progress(), 1.0);
    EXPECT_EQ(model.phase(), Phase::downloading);
}

TEST(SoftwareUpdateViewModelTest, WithoutAnExpectedLengthOnlyTheBytesCountUp)
{
    SoftwareUpdateViewModel model;
    model.downloadStarted(0);
    model.downloadProgressed(300);
    model.downloadProgressed(200);
    EXPECT_EQ(model.progress(), 0.0);
    EXPECT_EQ(model.downloadedBytes(), 500u);
    model.extractionStarted();
    EXPECT_EQ(model.progress(), 1.0);
    EXPECT_EQ(model.phase(), Phase::downloading);
}

TEST(SoftwareUpdateViewModelTest, DismissalResetsAllButTheExpectedLength)
{
    SoftwareUpdateViewModel model;
    model.updateFound(info);
    model.downloadProgressed(100);
    model.updateFailed(QStringLiteral("x"));
    model.updateDialogDismissed();
    EXPECT_EQ(model.phase(), Phase::idle);
    EXPECT_FALSE(model.isPresented());
    EXPECT_EQ(model.progress(), 0.0);
    EXPECT_EQ(model.downloadedBytes(), 0u);
    EXPECT_EQ(model.updateInfo(), std::nullopt);
    EXPECT_EQ(model.errorMessage(), std::nullopt);
    EXPECT_EQ(model.expectedContentLength(), 1000u);
}

TEST(SoftwareUpdateViewModelTest, NotifiesOnlyOnChange)
{
    SoftwareUpdateViewModel model;
    QSignalSpy presented(&model, &SoftwareUpdateViewModel::isPresentedChanged);
    QSignalSpy phase(&model, &SoftwareUpdateViewModel::phaseChanged);
    QSignalSpy infoSpy(&model, &SoftwareUpdateViewModel::updateInfoChanged);
    model.setPresented(false);
    model.setPhase(Phase::idle);
    EXPECT_EQ(presented.count(), 0);
    EXPECT_EQ(phase.count(), 0);
    model.updateFound(info);
    model.updateFound(info);
    EXPECT_EQ(presented.count(), 1);
    EXPECT_EQ(phase.count(), 1);
    EXPECT_EQ(infoSpy.count(), 1);
    Info withoutNotes = info;
    withoutNotes.releaseNotesHTML.reset();
    model.updateFound(withoutNotes);
    EXPECT_EQ(infoSpy.count(), 2) << "absent notes differ from present ones";
}

} // namespace
} // namespace vesk
