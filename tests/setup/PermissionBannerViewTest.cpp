#include "SetupModelScene.h"

#include "platform/simulated/DesktopWorkspace.h"
#include "setup/PermissionBannerCard.h"
#include "setup/PermissionBannerView.h"
#include "ui/TextLabel.h"

#include <QCoreApplication>
#include <QDir>
#include <QPushButton>

namespace vesk::test {
namespace {

class PermissionBannerViewTest : public SetupModelScene {
protected:
    void grant(bool inputMonitoring, bool accessibility)
    {
        desktop.setInputMonitoringGranted(inputMonitoring);
        desktop.setAccessibilityTrusted(accessibility);
        model->refreshInputMonitoringPermission("test");
        model->refreshAccessibilityPermission("test");
    }
};

TEST(PermissionBannerTexts, NameWhatIsMissing)
{
    struct Case {
        bool inputMonitoring;
        bool accessibility;
        QString title;
        QString messageStart;
        QString button;
    };
    const std::vector<Case> cases{
        {true, true, "", "", "Berechtigung erteilen"},
        {true, false, "Bedienungshilfen erforderlich", "VESK braucht Bedienungshilfen für Minimieren",
         "Berechtigung erteilen"},
        {false, true, "Eingabeüberwachung erforderlich",
         "VESK braucht Eingabeüberwachung für Fensterbuttons, Klick-Blocking und den Notausgang.",
         "Berechtigung erteilen"},
        {false, false, "Eingabeüberwachung und Bedienungshilfen erforderlich",
         "VESK braucht Eingabeüberwachung für Fensterbuttons und Bedienungshilfen", "Berechtigungen erteilen"},
    };
    for (const Case& testCase : cases) {
        const auto texts = PermissionBannerView::texts(testCase.inputMonitoring, testCase.accessibility);
        EXPECT_EQ(texts.title, testCase.title);
        EXPECT_EQ(texts.message.isEmpty(), testCase.messageStart.isEmpty());
        EXPECT_EQ(texts.message.left(testCase.messageStart.size()), testCase.messageStart);
        EXPECT_EQ(texts.requestButton, testCase.button);
    }
    EXPECT_TRUE(
        PermissionBannerView::texts(true, false).message.endsWith("mit Plus neu hinzufügen und VESK neu starten."));
}

TEST_F(PermissionBannerViewTest, FollowsThePermissionsAndRendersEachMissingState)
{
    model->handleAppear();
    QWidget card;
    card.setAttribute(Qt::WA_StyledBackground);
    card.setStyleSheet("background: rgb(15, 15, 18);");
    card.resize(360, 180);
    auto* banner = new PermissionBannerView(*model, {});
    auto* frame = new PermissionBannerCard(banner, &card);
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    const std::vector<std::tuple<bool, bool, QString, QString>> states{
        {false, false, "Eingabeüberwachung und Bedienungshilfen erforderlich", "neither"},
        {true, false, "Bedienungshilfen erforderlich", "accessibility-missing"},
        {false, true, "Eingabeüberwachung erforderlich", "input-monitoring-missing"},
    };
    for (const auto& [inputMonitoring, accessibility, title, name] : states) {
        grant(inputMonitoring, accessibility);
        EXPECT_EQ(banner->title()->text(), title);
        EXPECT_EQ(banner->requestButton()->text(),
                  PermissionBannerView::texts(inputMonitoring, accessibility).requestButton);
        const int width = 320;
        frame->setGeometry(20, 10, width, frame->heightForWidth(width));
        card.resize(360, frame->geometry().bottom() + 9);
        card.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(banner->requestButton()->width(), banner->relaunchButton()->width()) << "equal shares";
        EXPECT_TRUE(card.grab().save(QStringLiteral(VESK_GALLERY_DIR "/permission-banner-%1.png").arg(name)));
    }
}

TEST_F(PermissionBannerViewTest, TheButtonsAskForPermissionsAndRelaunch)
{
    model->handleAppear();
    grant(false, false);
    PermissionBannerView banner(*model);
    banner.requestButton()->click();
    EXPECT_EQ(desktop.accessibilityPromptCount(), 1);
    EXPECT_EQ(desktop.inputMonitoringRequestCount(), 0) << "one permission per press, Accessibility first";

    desktop.setAccessibilityTrusted(true);
    model->refreshAccessibilityPermission("test");
    EXPECT_EQ(banner.title()->text(), "Eingabeüberwachung erforderlich");
    banner.requestButton()->click();
    EXPECT_EQ(desktop.inputMonitoringRequestCount(), 1);

    const size_t requests = desktop.workspace().openRequests().size();
    banner.relaunchButton()->click();
    EXPECT_EQ(desktop.workspace().openRequests().size(), requests + 1);
}

} // namespace
} // namespace vesk::test
