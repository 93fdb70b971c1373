#include "enforcement/ChromiumWindowMaterializer.h"
#include "LogCapture.h"
#include "enforcement/SystemWorkspace.h"
#include "platform/simulated/DesktopTestScene.h"
#include "platform/simulated/DesktopWorkspace.h"

using namespace vesk;
using namespace vesk::platform;

namespace {

const QString chromeID = QStringLiteral("com.google.Chrome");

// A Chromium-family browser that runs with one window, and one that cannot
// start, next to the scene's own browser of another family.
class ChromiumWindowMaterializerTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        DesktopScenario scenario = twoDisplayScenario();
        BundleSpec chrome = bundle("/Applications/Chrome.app", chromeID, "Chrome");
        chrome.launch.windowDelay = 0.3;
        chrome.launch.windows = {window("New Tab", QRectF(300, 120, 900, 600))};
        BundleSpec brave = bundle("/Applications/Brave.app", "com.brave.Browser", "Brave");
        brave.launch.launchError = QStringLiteral("The application is damaged.");
        scenario.bundles.insert(scenario.bundles.end(), {chrome, brave});
        ApplicationSpec running;
        running.bundleIdentifier = chromeID;
        running.windows = {window("Docs", QRectF(100, 100, 800, 500))};
        scenario.applications.push_back(running);
        build(scenario);
        materializer.emplace(std::make_shared<SystemWorkspace>(desktop->workspace()));
    }

    std::optional<QUrl> urlOf(const QString& bundleID) { return desktop->workspace().urlForApplication(bundleID); }
    const std::vector<OpenRequest>& requests() { return desktop->workspace().openRequests(); }

    std::optional<ChromiumWindowMaterializer> materializer;
    test::LogCapture logs;
};

TEST_F(ChromiumWindowMaterializerTest, OtherApplicationsAreUnsupportedAndAMissingLocationFailsWithoutARequest)
{
    for (const QString id : {"com.example.browser", "org.mozilla.firefox", "com.google.chrome"})
        EXPECT_EQ(materializer->materialize(id, urlOf("com.example.browser"), "reveal"),
                  WindowMaterializationOutcome::unsupported())
            << id.toStdString();
    EXPECT_TRUE(logs.contains("Materialization unsupported — bundleID=org.mozilla.firefox, reason=reveal"));

    EXPECT_EQ(materializer->materialize(chromeID, std::nullopt, "reveal"),
              WindowMaterializationOutcome::failed("missing app URL"));
    EXPECT_TRUE(
        logs.contains("Materialization failed — bundleID=com.google.Chrome, reason=reveal, error=missing app URL"));
    EXPECT_TRUE(requests().empty());
}

TEST_F(ChromiumWindowMaterializerTest, ARunningBrowserIsOpenedAgainForANewBlankWindow)
{
    EXPECT_EQ(materializer->supportedBundleIDs().size(), 6u);
    const QUrl url = urlOf(chromeID).value();
    EXPECT_EQ(materializer->materialize(chromeID, url, "recovery:sessionStart"),
              WindowMaterializationOutcome::requested());
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].applicationURL, url);
    EXPECT_TRUE(requests()[0].configuration.activates);
    EXPECT_TRUE(requests()[0].configuration.createsNewApplicationInstance);
    EXPECT_EQ(requests()[0].configuration.arguments, (QStringList{"--new-window", "about:blank"}));
    EXPECT_TRUE(logs.contains(QStringLiteral("Materialization requested — bundleID=com.google.Chrome, "
                                             "reason=recovery:sessionStart, appURL=%1, strategy=chromiumNewWindow")
                                  .arg(url.path())));

    scheduler.advance(1);
    desktop->workspace().waitForCompletions();
    EXPECT_EQ(desktop->windowsOf(pidOf(chromeID)).size(), 2u) << "one more window, no second process";
    EXPECT_TRUE(logs.contains("Materialization openApplication completed — bundleID=com.google.Chrome, "
                              "reason=recovery:sessionStart"));
}

TEST_F(ChromiumWindowMaterializerTest, AFailedOpenIsOnlyLoggedAsAnError)
{
    EXPECT_EQ(materializer->materialize("com.brave.Browser", urlOf("com.brave.Browser"), "reveal"),
              WindowMaterializationOutcome::requested());
    desktop->workspace().waitForCompletions();
    const auto entries = logs.entries();
    const auto failure = std::find_if(entries.begin(), entries.end(), [](const auto& entry) {
        return entry.message.startsWith("Materialization openApplication failed");
    });
    ASSERT_NE(failure, entries.end());
    EXPECT_EQ(failure->type, QtCriticalMsg);
    EXPECT_EQ(failure->message, "Materialization openApplication failed — bundleID=com.brave.Browser, reason=reveal, "
                                "error=The application is damaged.");
}

} // namespace
