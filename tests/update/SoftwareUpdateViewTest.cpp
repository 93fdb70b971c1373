#include "update/SoftwareUpdateView.h"

#include "LogCapture.h"
#include "QtPrinters.h"
#include "core/AppVersion.h"
#include "ui/TextLabel.h"
#include "ui/UiFixture.h"
#include "update/RecordingUpdater.h"
#include "update/SoftwareUpdateService.h"
#include "update/UpdatePanelProbe.h"
#include "update/UpdateProgressBar.h"

#include <QPushButton>
#include <QTest>

using vesk::platform::UserUpdateChoice;

namespace vesk::test {
namespace {

using Phase = SoftwareUpdateViewModel::Phase;

// The panel over a real service, driver and model; the updater only records,
// and the test plays the updater's part through the driver's callbacks.
class SoftwareUpdateViewTest : public UiFixture {
protected:
    void SetUp() override
    {
        setMainBundleInfoDictionary({{"CFBundleShortVersionString", "1.0"}, {"CFBundleVersion", "100"}});
        scheduler.setDate(referenceDatePlus(5.5));
    }

    std::unique_ptr<SoftwareUpdateView> makeView(bool autoUpdatesEnabled = true)
    {
        auto view =
            std::make_unique<SoftwareUpdateView>(service, autoUpdatesEnabled, VeskTheme::shared(),
                                                 SoftwareUpdateView::Environment{scheduler, scheduler, reducedMotion});
        view->show();
        return view;
    }

    platform::UpdateFeedItem item(std::uint64_t length = 18'350'080) const
    {
        platform::UpdateFeedItem found;
        found.versionString = QStringLiteral("1.2.0");
        found.displayVersionString = QStringLiteral("1.2");
        found.contentLength = length;
        found.itemDescription = QStringLiteral("<ul><li>Schnellerer Start</li><li>Stabilere Stage bei mehreren "
                                               "Bildschirmen und langen Sessions</li><li>Neue Übersetzungen</li></ul>");
        return found;
    }

    // The updater offers `found`; its reply records the user's choice.
    void offer(const platform::UpdateFeedItem& found)
    {
        service.driver().showUserInitiatedUpdateCheck([this] { actions << QStringLiteral("check cancelled"); });
        service.driver().showUpdateFound(found, {}, [this](UserUpdateChoice choice) {
            actions << QStringLiteral("found %1").arg(static_cast<int>(choice));
        });
    }
    void download(std::uint64_t received)
    {
        service.driver().showDownloadInitiated([this] { actions << QStringLiteral("download cancelled"); });
        service.driver().showDownloadDidReceiveDataOfLength(received);
    }
    void readyToInstall()
    {
        service.driver().showDownloadDidStartExtractingUpdate();
        service.driver().showReadyToInstallAndRelaunch(
            [this](UserUpdateChoice choice) { actions << QStringLiteral("install %1").arg(static_cast<int>(choice)); });
    }

    static QPushButton* button(const QWidget& view, const QString& title) { return shownButton(view, title); }
    static void click(const QWidget& view, const QString& title) { clickButton(view, title); }

    void render(QWidget& view, const QString& name)
    {
        view.grab().save(QStringLiteral(VESK_UPDATE_RENDER_DIR "/update-panel-%1.png").arg(name));
    }

    UpdaterCalls updaterCalls;
    SoftwareUpdateService service{
        [this](platform::UpdateUserDriver&) { return std::make_unique<RecordingUpdater>(updaterCalls); }};
    QStringList actions;
};

TEST_F(SoftwareUpdateViewTest, EveryPhaseShowsItsOwnSectionUnderTheHeader)
{
    const auto view = makeView();
    QStringList texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Suche nach Updates")) << "idle shows the check";
    EXPECT_TRUE(texts.contains("Suche nach Updates …"));
    EXPECT_TRUE(texts.contains("VESK"));
    ASSERT_NE(button(*view, "Schließen"), nullptr) << "the header's close button";
    render(*view, "idle");

    service.driver().showUserInitiatedUpdateCheck({});
    render(*view, "checking");

    offer(item());
    texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Update verfügbar"));
    EXPECT_TRUE(texts.contains("VESK 1.2 ist da"));
    EXPECT_TRUE(texts.contains("Version 1.2.0 · 18,4 MB · läuft auf 1.0"));
    EXPECT_TRUE(texts.contains("NEU IN DIESER VERSION"));
    EXPECT_TRUE(texts.contains("Neue Übersetzungen"));
    EXPECT_FALSE(texts.contains("Suche nach Updates …"));
    render(*view, "available");

    download(8'257'536);
    texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Wird geladen"));
    EXPECT_TRUE(texts.contains("VESK 1.2 wird geladen …"));
    EXPECT_TRUE(texts.contains("8,3 MB von 18,4 MB"));
    EXPECT_TRUE(texts.contains("45%"));
    render(*view, "downloading");

    readyToInstall();
    texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Bereit zur Installation"));
    EXPECT_TRUE(texts.contains("Update bereit"));
    EXPECT_TRUE(texts.contains("VESK 1.2 ist heruntergeladen. Neu starten, um die Installation abzuschließen — "
                               "deine laufende Session bleibt erhalten."));
    render(*view, "ready");

    service.driver().dismissUpdateFlow();
    service.driver().showUpdateNotFound(QStringLiteral("Version 100 ist die neueste Version."), {});
    texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Aktuell"));
    EXPECT_TRUE(texts.contains("Du bist auf dem neuesten Stand"));
    EXPECT_TRUE(texts.contains("VESK 1.0 — zuletzt geprüft gerade eben"));
    EXPECT_TRUE(texts.contains("Automatische Updates · An"));
    render(*view, "up-to-date");

    service.driver().showUpdaterError(QStringLiteral("Der Update-Feed ist nicht erreichbar: Connection refused"), {});
    texts = shownTexts(*view);
    EXPECT_TRUE(texts.contains("Fehler"));
    EXPECT_TRUE(texts.contains("Update fehlgeschlagen"));
    EXPECT_TRUE(texts.contains("Der Update-Feed ist nicht erreichbar: Connection refused"));
    render(*view, "error");
}

TEST_F(SoftwareUpdateViewTest, ThePanelIsAsHighAsTheSectionItShows)
{
    const auto view = makeView();
    const int checking = view->height();
    offer(item());
    const int available = view->height();
    EXPECT_EQ(view->width(), SoftwareUpdateView::panelWidth);
    EXPECT_GT(available, checking + 100) << "the notes box and the actions";
    service.driver().showUpdaterError(QStringLiteral("x"), {});
    EXPECT_LT(view->height(), available);
}

TEST_F(SoftwareUpdateViewTest, ButtonsAnswerTheUpdaterThroughTheDriver)
{
    const auto view = makeView();
    // Each step: what the updater holds, the button, what it was answered.
    offer(item());
    click(*view, "Jetzt aktualisieren");
    EXPECT_EQ(actions, QStringList{"found 1"});

    actions.clear();
    download(100);
    click(*view, "Im Hintergrund");
    EXPECT_EQ(actions, QStringList{"download cancelled"});
    EXPECT_FALSE(service.viewModel().isPresented());

    actions.clear();
    offer(item());
    click(*view, "Später");
    EXPECT_EQ(actions, QStringList{"found 2"});

    actions.clear();
    offer(item());
    download(100);
    click(*view, "Abbrechen");
    EXPECT_EQ(actions, (QStringList{"found 2", "download cancelled"})) << "the question was still open";

    actions.clear();
    readyToInstall();
    click(*view, "Jetzt neu starten");
    EXPECT_EQ(actions, QStringList{"install 1"});

    actions.clear();
    readyToInstall();
    click(*view, "Später neu starten");
    EXPECT_EQ(actions, QStringList{"install 2"});

    actions.clear();
    offer(item());
    click(*view, "Schließen");
    EXPECT_EQ(actions, QStringList{"found 2"}) << "the close button dismisses in every phase";
}

TEST_F(SoftwareUpdateViewTest, CheckingAgainGoesThroughTheServiceAndClosingAcknowledges)
{
    const auto view = makeView();
    int acknowledged = 0;
    service.driver().showUpdateNotFound({}, [&] { ++acknowledged; });
    LogCapture log;
    click(*view, "Erneut prüfen");
    EXPECT_EQ(updaterCalls.checks, 1);
    EXPECT_EQ(log.messages(QStringLiteral("SoftwareUpdateService")), QStringList{"User-initiated update check"});
    click(*view, "Schließen");
    EXPECT_EQ(acknowledged, 1);
    EXPECT_EQ(service.viewModel().phase(), Phase::idle);

    service.driver().showUpdaterError({}, [&] { ++acknowledged; });
    click(*view, "Erneut prüfen");
    EXPECT_EQ(updaterCalls.checks, 2);
    click(*view, "Schließen");
    EXPECT_EQ(acknowledged, 2);
}

struct ProgressCase {
    double progress;
    const char* percent;
};

TEST_F(SoftwareUpdateViewTest, PercentAndBarFollowTheProgress)
{
    const auto view = makeView();
    offer(item(1000));
    download(0);
    auto* bar = view->findChild<UpdateProgressBar*>();
    ASSERT_NE(bar, nullptr);
    SoftwareUpdateViewModel& model = service.viewModel();
    for (const ProgressCase& step : {ProgressCase{0.004, "0%"}, ProgressCase{0.005, "1%"}, ProgressCase{1.0, "100%"}}) {
        model.updateDialogDismissed();
        offer(item(1000));
        model.downloadStarted(0);
        model.downloadProgressed(static_cast<std::uint64_t>(step.progress * 1000));
        EXPECT_TRUE(shownTexts(*view).contains(step.percent)) << step.progress;
    }
    EXPECT_EQ(bar->fillWidth(), bar->width()) << "full at 1";
    model.downloadStarted(0);
    EXPECT_EQ(bar->fillWidth(), 0) << "empty at 0";
}

TEST_F(SoftwareUpdateViewTest, WithoutATotalOnlyTheReceivedAmountShows)
{
    const auto view = makeView();
    offer(item(0));
    service.driver().showDownloadInitiated({});
    // The length the download announces is not the offered size.
    service.driver().showDownloadDidReceiveExpectedContentLength(5'000'000);
    service.driver().showDownloadDidReceiveDataOfLength(2'500'000);
    EXPECT_TRUE(shownTexts(*view).contains("2,5 MB"));
    for (const QString& text : shownTexts(*view))
        EXPECT_FALSE(text.contains(" von ")) << text.toStdString();

    // Without an offered update the texts are empty, and nothing fails.
    service.viewModel().updateDialogDismissed();
    service.viewModel().downloadStarted(0);
    EXPECT_TRUE(shownTexts(*view).contains("VESK  wird geladen …"));
    service.viewModel().updateFailed(QString());
    EXPECT_TRUE(shownTexts(*view).contains(QString()));
    EXPECT_FALSE(shownTexts(*view).contains("Unbekannter Fehler."));
    service.viewModel().updateDialogDismissed();
    service.viewModel().setPhase(Phase::error);
    EXPECT_TRUE(shownTexts(*view).contains("Unbekannter Fehler."));
}

TEST_F(SoftwareUpdateViewTest, TheAutomaticUpdatesLineKeepsTheValueOfItsConstruction)
{
    const auto off = makeView(false);
    service.driver().showUpdateNotFound({}, {});
    EXPECT_TRUE(shownTexts(*off).contains("Automatische Updates · Aus"));
    const auto on = makeView(true);
    EXPECT_TRUE(shownTexts(*on).contains("Automatische Updates · An"));
    EXPECT_TRUE(shownTexts(*off).contains("Automatische Updates · Aus"));
}

} // namespace
} // namespace vesk::test
