#include "SetupModelScene.h"

#include "core/AppVersion.h"

#include "setup/AnalyticsNoticeCard.h"
#include "setup/SetupColumnView.h"
#include "setup/SetupHeaderView.h"
#include "setup/SetupVersionButton.h"
#include "setup/StartControl.h"
#include "setup/SymbolButton.h"
#include "ui/FilledButton.h"
#include "ui/OpacityOffsetBlurEffect.h"

#include <QStackedWidget>

namespace vesk::test {
namespace {

using Phase = WormveskAnimator::Phase;
using Form = SetupColumnView::SelectionForm;

// The setup column over the scene's model, shown at the window's width.
class SetupScreenViewsTest : public SetupModelScene {
protected:
    void SetUp() override
    {
        SetupModelScene::SetUp();
        model->handleAppear();
        column = std::make_unique<SetupColumnView>(*model, scheduler, scheduler, reducedMotion, Localizer());
        column->resize(SetupColumnView::width, 440);
        column->show();
    }

    std::unique_ptr<SetupColumnView> column;
};

TEST_F(SetupScreenViewsTest, PicksStopAtFiveIdentifiersAlsoCountingUninstalledOnes)
{
    InstalledApp mailApp;
    for (const InstalledApp& app : model->installedApps()) {
        if (app.id == mail)
            mailApp = app;
    }
    ASSERT_EQ(mailApp.id, mail);
    model->setSelectedBundleIDs({editor, browser, gone, "a.b.one", "a.b.two"});
    model->addPickedApp(mailApp);
    EXPECT_EQ(model->selectedBundleIDs().count(mail), 0u) << "a sixth pick is ignored";
    EXPECT_EQ(column->tileIconFrames(column.get()).size(), 2u) << "uninstalled identifiers show no tile";

    model->removeSelectedApp(InstalledApp{gone, {}, {}, {}});
    model->addPickedApp(mailApp);
    EXPECT_EQ(model->selectedBundleIDs().count(mail), 1u);
    EXPECT_EQ(stored().appBundleIDs.size(), 5) << "the pick is stored";
    EXPECT_EQ(column->tileIconFrames(column.get()).size(), 3u);
}

TEST_F(SetupScreenViewsTest, TheSelectionAreaShowsTilesTheHintOrRoomForTheSearchList)
{
    struct Case {
        std::set<QString> selection;
        QString search;
        Form form;
    };
    for (const Case& testCase :
         {Case{{}, "", Form::hint}, Case{{editor}, "", Form::grid}, Case{{editor}, "E", Form::searching},
          Case{{}, " ", Form::searching}, Case{{gone}, "", Form::hint}}) {
        model->setSelectedBundleIDs(testCase.selection);
        model->setSearchText(testCase.search);
        EXPECT_EQ(column->selectionForm(), testCase.form) << "search \"" << testCase.search.toStdString() << "\"";
        EXPECT_EQ(column->findChild<QStackedWidget*>()->currentIndex(), static_cast<int>(testCase.form));
    }
}

TEST_F(SetupScreenViewsTest, TheBannerRowShowsOnlyWhileIdleWithAPermissionMissing)
{
    auto bannerShown = [this] { return model->showsPermissionBanner(); };
    EXPECT_FALSE(bannerShown());
    desktop.setAccessibilityTrusted(false);
    model->refreshAccessibilityPermission("poll");
    EXPECT_TRUE(bannerShown());

    desktop.setAccessibilityTrusted(true);
    model->refreshAccessibilityPermission("poll");
    model->setSelectedBundleIDs({editor});
    model->triggerAbsorption();
    desktop.setAccessibilityTrusted(false);
    model->refreshAccessibilityPermission("poll");
    EXPECT_FALSE(bannerShown()) << "the banner goes as the start animation begins";
}

TEST_F(SetupScreenViewsTest, DuringTheStartTheCardFadesRisesAndBlursAndTakesNoInput)
{
    model->setSelectedBundleIDs({editor, browser, mail});
    EXPECT_TRUE(column->startControl()->isEnabled());
    column->startControl()->click();
    EXPECT_EQ(model->animator().phase(), Phase::flyers) << "the control starts the animation";
    EXPECT_FALSE(column->isEnabled());

    // Warping runs from 1.71 s to 2.76 s; at 2.2 s the chrome is partly gone.
    advanceTo(2.2);
    column->applyAnimationFrame();
    const double progress = model->animator().chromeProgress().valueAt(scheduler.now());
    ASSERT_GT(progress, 0.0);
    ASSERT_LT(progress, 1.0);
    EXPECT_DOUBLE_EQ(column->chromeFade().opacity(), 1 - progress);
    EXPECT_EQ(column->chromeFade().offset(), QPointF(0, -90 * progress));
    EXPECT_DOUBLE_EQ(column->chromeFade().blurRadius(), 2.5 * progress);

    model->animator().reset();
    column->applyAnimationFrame();
    EXPECT_DOUBLE_EQ(column->chromeFade().opacity(), 1.0);
    EXPECT_TRUE(column->isEnabled());
}

TEST_F(SetupScreenViewsTest, TheStartControlIsDisabledUntilAnAppIsSelected)
{
    EXPECT_FALSE(column->startControl()->isEnabled());
    column->startControl()->click();
    EXPECT_EQ(model->animator().phase(), Phase::idle);
    model->setSelectedBundleIDs({editor});
    EXPECT_TRUE(column->startControl()->isEnabled());
}

TEST_F(SetupScreenViewsTest, TheHeaderOpensTheSheetsAndTheSettings)
{
    SetupHeaderView& header = *column->header();
    EXPECT_EQ(header.historyButton()->toolTip(), "Verlauf");
    EXPECT_EQ(header.bugReportButton()->toolTip(), "Problem melden");
    EXPECT_EQ(header.settingsButton()->toolTip(), "Einstellungen");

    header.historyButton()->click();
    EXPECT_TRUE(model->isHistoryPresented());
    header.bugReportButton()->click();
    EXPECT_TRUE(model->isBugReportPresented());
    header.settingsButton()->click();
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_EQ(countOf("[SessionSetupView] history button tapped"), 1);
    EXPECT_EQ(countOf("[SessionSetupView] bug report button tapped"), 1);
}

TEST_F(SetupScreenViewsTest, TheVersionChecksForUpdatesAndShowsTheDotWhileOneWaits)
{
    SetupVersionButton& version = *column->versionButton();
    EXPECT_EQ(version.text(), appVersionString());
    EXPECT_EQ(version.toolTip(), "Version");
    const int plainWidth = version.sizeHint().width();
    version.setUpdateWaiting(true);
    EXPECT_EQ(version.toolTip(), "Update verfügbar");
    EXPECT_GT(version.sizeHint().width(), plainWidth) << "room for the dot";

    version.click();
    version.click();
    EXPECT_EQ(updateChecks, 2) << "every press checks, also while an update waits";
    EXPECT_EQ(countOf("[SessionSetupView] version button tapped"), 2);
}

TEST_F(SetupScreenViewsTest, EitherNoticeButtonAcknowledgesForGoodAndOnlyOneOpensTheSettings)
{
    AnalyticsNoticeCard notice(*model, Localizer());
    notice.acknowledgeButton()->click();
    EXPECT_TRUE(settings.analyticsNoticeShown());
    EXPECT_EQ(settingsOpened, 0);
    EXPECT_TRUE(VeskDefaultsStore(defaults).analyticsNoticeShown()) << "written at once";

    settings.setAnalyticsNoticeShown(false);
    notice.settingsButton()->click();
    EXPECT_TRUE(settings.analyticsNoticeShown());
    EXPECT_EQ(settingsOpened, 1);
    EXPECT_TRUE(settings.analyticsEnabled()) << "the notice never switches analytics off";
}

} // namespace
} // namespace vesk::test
