#include "PanelsFixture.h"

#include "panels/SessionHUDAppChip.h"
#include "panels/SessionHUDAppStrip.h"
#include "panels/SessionHUDExitConfirmation.h"
#include "panels/SessionHUDGoalBanner.h"
#include "panels/SessionHUDView.h"
#include "panels/SystemColor.h"
#include "ui/FilledButton.h"
#include "ui/HardcoreLockBadge.h"
#include "ui/TextLabel.h"
#include "ui/VeskFont.h"

#include <memory>

namespace vesk::test {
namespace {

using Visibility = AllowedAppVisibility;

// 32 characters as the user sees them, the last an emoji of several code
// points (a family: four people joined), and one more letter for 33.
const QString goal32 =
    QStringLiteral("Kapitel drei zu Ende schreiben ") + QString::fromUtf8("👨‍👩‍👧‍👦");
const QString goal33 = goal32 + QStringLiteral("!");

class SessionHUDViewTest : public PanelsFixture {
protected:
    SessionHUDView& makeView(const Localizer& localizer = Localizer())
    {
        view = std::make_unique<SessionHUDView>(session, installedApps(), scheduler, scheduler, localizer);
        view->show();
        return *view;
    }

    QStringList chipNames() const
    {
        QStringList names;
        for (SessionHUDAppChip* chip : view->strip()->chips())
            names << chip->display().name;
        return names;
    }

    QStringList hudLog() const { return log.messages("SessionHUDView"); }

    std::unique_ptr<SessionHUDView> view;
};

TEST_F(SessionHUDViewTest, HeightFollowsTheFirstRuleThatApplies)
{
    SessionHUDView& hud = makeView();
    EXPECT_EQ(hud.height(), 184) << "no goal";
    EXPECT_FALSE(hud.goalBanner()->isVisible());

    session.setGoal(goal33);
    EXPECT_EQ(hud.height(), 216) << "collapsed banner";
    click(hud.goalBanner());
    EXPECT_TRUE(hud.isGoalBannerExpanded());
    EXPECT_EQ(hud.height(), 234) << "expanded banner";
    EXPECT_EQ(hud.goalBanner()->height(), SessionHUDGoalBanner::expandedHeight);

    click(hud.goalBanner()->closeButton()); // collapses first
    EXPECT_EQ(hud.height(), 216);
    click(hud.goalBanner()->closeButton()); // then dismisses
    EXPECT_TRUE(hud.isGoalBannerDismissed());
    EXPECT_EQ(hud.height(), 184) << "dismissed banner";
    EXPECT_FALSE(hud.goalBanner()->isVisible());
    EXPECT_TRUE(hud.goalPill()->isVisible());
    EXPECT_EQ(hud.goalPill()->toolTip(), goal33);

    click(hud.goalPill());
    EXPECT_EQ(hud.height(), 216) << "the pill brings the collapsed banner back";
    EXPECT_FALSE(hud.goalPill()->isVisible());

    EXPECT_EQ(hudLog(), QStringList({"HUD goal banner expanded", "HUD goal banner collapsed",
                                     "HUD goal banner dismissed", "HUD goal pill tapped — showing goal banner"}));
}

TEST_F(SessionHUDViewTest, OnlyAGoalLongerThanThirtyTwoCharactersExpands)
{
    EXPECT_FALSE(SessionHUDGoalBanner::canExpand(goal32));
    EXPECT_TRUE(SessionHUDGoalBanner::canExpand(goal33));
    EXPECT_GT(goal32.size(), 32) << "the emoji is several code units, yet one character";

    session.setGoal(goal32);
    SessionHUDView& hud = makeView();
    click(hud.goalBanner());
    EXPECT_FALSE(hud.isGoalBannerExpanded());
    EXPECT_EQ(hud.height(), 216);
    EXPECT_TRUE(hudLog().isEmpty());
}

TEST_F(SessionHUDViewTest, ANewGoalBringsTheCollapsedBannerBack)
{
    session.setGoal(goal33);
    SessionHUDView& hud = makeView();
    click(hud.goalBanner());
    click(hud.goalBanner()->closeButton());
    click(hud.goalBanner()->closeButton());
    ASSERT_TRUE(hud.isGoalBannerDismissed());

    session.setGoal(QStringLiteral("Steuererklärung"));
    EXPECT_FALSE(hud.isGoalBannerDismissed());
    EXPECT_FALSE(hud.isGoalBannerExpanded());
    EXPECT_EQ(hud.goalBanner()->goal(), QStringLiteral("Steuererklärung"));
    EXPECT_EQ(hud.height(), 216);

    // Another change that leaves the goal as it was keeps the flags.
    click(hud.goalBanner()->closeButton());
    session.setHardcore(true);
    EXPECT_TRUE(hud.isGoalBannerDismissed());
}

TEST_F(SessionHUDViewTest, StatusLineByPriority)
{
    struct Case {
        std::optional<SessionStatusFeedback> status;
        std::optional<SessionScreenshotFeedback> screenshot;
        QString text;
        QColor color;
    };
    const std::vector<Case> cases = {
        {SessionStatusFeedback::appOnOtherSpace, SessionScreenshotFeedback::saved, "App ist auf anderem Schreibtisch",
         systemColor(SystemColor::cyan, 0.85)},
        {std::nullopt, SessionScreenshotFeedback::saved, "Screenshot gespeichert",
         systemColor(SystemColor::green, 0.85)},
        {std::nullopt, SessionScreenshotFeedback::failed, "Screenshot fehlgeschlagen",
         systemColor(SystemColor::red, 0.85)},
        {std::nullopt, std::nullopt, "VESK aktiv", QColor::fromRgbF(1, 1, 1, 0.4f)},
    };
    SessionHUDView& hud = makeView();
    for (const Case& c : cases) {
        session.setStatusFeedback(c.status);
        session.setScreenshotFeedback(c.screenshot);
        EXPECT_EQ(hud.statusLine()->text(), c.text);
        EXPECT_EQ(hud.statusLine()->color().rgba(), c.color.rgba()) << c.text.toStdString();
    }
}

TEST_F(SessionHUDViewTest, TheTimelineRereadsTimeAndStripEveryHalfSecond)
{
    const QDateTime end = scheduler.now().addSecs(25 * 60);
    session.timeText = [end](const QDateTime& now) {
        const qint64 left = (now.msecsTo(end) + 999) / 1000;
        return QString::asprintf("%02lld:%02lld", left / 60, left % 60);
    };
    SessionHUDView& hud = makeView();
    EXPECT_EQ(hud.timeText()->text(), "25:00");

    // Neither changes with a signal: the timeline finds them.
    session.visibilities = {{"com.example.notes", Visibility::visible}};
    scheduler.advance(0.5);
    EXPECT_EQ(hud.timeText()->text(), "25:00");
    EXPECT_EQ(chipNames(), QStringList({"Notes"}));
    scheduler.advance(0.5);
    EXPECT_EQ(hud.timeText()->text(), "24:59");
    scheduler.advance(60);
    EXPECT_EQ(hud.timeText()->text(), "23:59");
}

TEST_F(SessionHUDViewTest, StripShowsThreeChipsByRankAndCountsTheRest)
{
    session.visibilities = {{"com.a", Visibility::visible},
                            {"com.z", Visibility::occluded},
                            {"com.b", Visibility::minimized},
                            {"com.c", Visibility::occluded},
                            {"com.example.notes", Visibility::notRunning}};
    SessionHUDView& hud = makeView();
    EXPECT_EQ(chipNames(), QStringList({"c", "z", "b"})) << "fallback names of unknown applications";
    EXPECT_TRUE(hud.strip()->overflowButton()->isVisible());
    EXPECT_EQ(hud.strip()->overflowButton()->text(), "+2");
    EXPECT_EQ(hud.strip()->overflowButton()->toolTip(), "Weitere erlaubte Apps anzeigen");
    EXPECT_FALSE(hud.strip()->emptyText()->isVisible());

    click(hud.strip()->overflowButton());
    click(hud.appsButton());
    EXPECT_EQ(session.calls, QStringList({"toggleQuickAccessPanel(none)", "toggleQuickAccessPanel(none)"}));

    session.visibilities = {};
    scheduler.advance(0.5);
    EXPECT_TRUE(chipNames().isEmpty());
    EXPECT_TRUE(hud.strip()->emptyText()->isVisible());
    EXPECT_EQ(hud.strip()->emptyText()->text(), "Keine App offen");
    EXPECT_FALSE(hud.strip()->overflowButton()->isVisible());
}

TEST_F(SessionHUDViewTest, OneAppLeftOverAlreadyGetsTheOverflowButton)
{
    session.visibilities = {{"com.a", Visibility::visible},
                            {"com.b", Visibility::visible},
                            {"com.c", Visibility::visible}};
    SessionHUDView& hud = makeView();
    EXPECT_EQ(chipNames(), QStringList({"a", "b", "c"}));
    EXPECT_FALSE(hud.strip()->overflowButton()->isVisible()) << "three apps fit";

    session.visibilities.push_back({"com.d", Visibility::visible});
    scheduler.advance(0.5);
    EXPECT_EQ(chipNames(), QStringList({"a", "b", "c"}));
    EXPECT_TRUE(hud.strip()->overflowButton()->isVisible());
    EXPECT_EQ(hud.strip()->overflowButton()->text(), "+1");
}

TEST_F(SessionHUDViewTest, AChipRestoresItsAppUnlessItIsVisible)
{
    session.visibilities = {{"com.example.notes", Visibility::visible}, {"com.example.mail", Visibility::onOtherSpace}};
    SessionHUDView& hud = makeView();
    const std::vector<SessionHUDAppChip*> chips = hud.strip()->chips();
    ASSERT_EQ(chips.size(), 2u);
    SessionHUDAppChip* mail = chips[0];
    SessionHUDAppChip* notes = chips[1];
    EXPECT_EQ(mail->stateLabel(), "Auf anderem Schreibtisch");
    EXPECT_EQ(SessionHUDAppChip::labelColor(Visibility::onOtherSpace).rgba(),
              systemColor(SystemColor::cyan, 0.82).rgba());
    EXPECT_EQ(mail->toolTip(), "Mail öffnen");
    EXPECT_TRUE(notes->toolTip().isEmpty());

    click(notes);
    EXPECT_TRUE(session.calls.isEmpty());
    click(mail);
    EXPECT_EQ(session.calls, QStringList({"restoreAllowedApp(com.example.mail)"}));
}

// Every state's label reads in full inside its 80 × 30 chip in every
// language; the chips are drawn into the gallery to look at.
TEST_F(SessionHUDViewTest, EveryChipLabelFitsItsChipInEveryLanguage)
{
    const QLocale::Language languages[] = {QLocale::German, QLocale::English, QLocale::French, QLocale::Spanish,
                                           QLocale::Italian};
    const Visibility states[] = {Visibility::visible, Visibility::occluded, Visibility::minimized,
                                 Visibility::onOtherSpace, Visibility::notRunning};
    const double scale = 2;
    const int gap = 6;
    QImage gallery(QSize((SessionHUDAppChip::width + gap) * 5, (SessionHUDAppChip::height + gap) * 5) * scale,
                   QImage::Format_ARGB32_Premultiplied);
    gallery.setDevicePixelRatio(scale);
    gallery.fill(QColor(20, 22, 30));
    QPainter painter(&gallery);
    for (int row = 0; row < 5; ++row) {
        const Localizer localizer{QLocale(languages[row])};
        for (int column = 0; column < 5; ++column) {
            SessionHUDAppChip chip(
                {"com.example.notes", "Notes", {}, states[column]}, [] {}, localizer);
            const FittedText label = chip.fittedLabel();
            SCOPED_TRACE(chip.stateLabel().toStdString());
            EXPECT_FALSE(label.truncated) << label.lines.join(" | ").toStdString();
            EXPECT_LE(label.lines.size(), 2);
            EXPECT_GE(VeskFont::pointSize(label.font), 5.5) << "still readable";
            EXPECT_LE(label.size.height(), SessionHUDAppChip::height - 13) << "beneath a 10 pt name";
            chip.render(&painter,
                        QPoint(column * (SessionHUDAppChip::width + gap) + gap / 2,
                               row * (SessionHUDAppChip::height + gap) + gap / 2),
                        QRegion(), QWidget::DrawChildren);
        }
    }
    painter.end();
    QDir().mkpath(QStringLiteral(VESK_GALLERY_DIR));
    EXPECT_TRUE(gallery.save(QStringLiteral(VESK_GALLERY_DIR "/hud-chips-by-language.png")));
}

TEST_F(SessionHUDViewTest, LeavingTakesTwoStepsWithItsLogLines)
{
    session.setGoal(goal33);
    SessionHUDView& hud = makeView();
    click(hud.leaveButton());
    EXPECT_TRUE(hud.isShowingExitConfirmation());
    EXPECT_EQ(session.calls, QStringList({"requestManualExitConfirmation"}));
    EXPECT_TRUE(hud.exitConfirmation()->isVisible());
    EXPECT_FALSE(hud.strip()->isVisible());
    EXPECT_FALSE(hud.leaveButton()->isVisible());
    EXPECT_TRUE(hud.goalBanner()->isVisible()) << "the banner stays above the time";
    // 184 is the least; the banner and the confirmation need more and get it.
    EXPECT_EQ(hud.panelHeight(), 184);
    EXPECT_GT(hud.height(), 184);
    EXPECT_GE(hud.height(), hud.sizeHint().height());

    click(hud.exitConfirmation()->cancelButton());
    EXPECT_FALSE(hud.isShowingExitConfirmation());
    EXPECT_TRUE(hud.strip()->isVisible());
    EXPECT_EQ(hud.height(), 216);

    click(hud.leaveButton());
    click(hud.exitConfirmation()->leaveAppsOpenButton());
    click(hud.exitConfirmation()->closeAppsButton());
    EXPECT_TRUE(hud.isShowingExitConfirmation()) << "the stop closes the HUD, not the view";
    EXPECT_EQ(session.calls, QStringList({"requestManualExitConfirmation", "logManualExitConfirmationCanceled",
                                          "requestManualExitConfirmation", "confirmManualExit(leaveOpen)",
                                          "confirmManualExit(terminateAllowedApps)"}));
    EXPECT_EQ(hudLog(),
              QStringList({"HUD exit button tapped — showing inline confirmation", "HUD exit confirmation canceled",
                           "HUD exit button tapped — showing inline confirmation",
                           "HUD exit confirmation tapped — leaving apps open",
                           "HUD exit confirmation tapped — terminating VESK apps"}));
}

TEST_F(SessionHUDViewTest, WithoutAGoalTheConfirmationFitsTheShortCard)
{
    SessionHUDView& hud = makeView();
    click(hud.leaveButton());
    EXPECT_EQ(hud.height(), 184);
}

TEST_F(SessionHUDViewTest, HardcoreShowsTheBadgeInsteadOfTheWayOut)
{
    session.setHardcore(true);
    SessionHUDView& hud = makeView();
    EXPECT_FALSE(hud.leaveButton()->isVisible());
    EXPECT_TRUE(hud.hardcoreBadge()->isVisible());
    EXPECT_EQ(hud.hardcoreBadge()->title(), "Hardcore");

    session.setHardcore(false);
    EXPECT_TRUE(hud.leaveButton()->isVisible());
    EXPECT_FALSE(hud.hardcoreBadge()->isVisible());
}

TEST_F(SessionHUDViewTest, TheCameraAsksForAScreenshotNow)
{
    SessionHUDView& hud = makeView();
    EXPECT_EQ(hud.screenshotButton()->toolTip(), "Screenshot auf Desktop speichern");
    click(hud.screenshotButton());
    EXPECT_EQ(session.calls, QStringList({"requestScreenshot(" + scheduler.now().toString(Qt::ISODate) + ")"}));
}

TEST_F(SessionHUDViewTest, RendersInEveryLanguage)
{
    session.visibilities = {{"com.example.notes", Visibility::visible},
                            {"com.example.mail", Visibility::onOtherSpace},
                            {"com.example.writer", Visibility::occluded},
                            {"com.example.browser", Visibility::minimized}};
    session.setGoal(QStringLiteral("Kapitel drei zu Ende schreiben und die Quellen im Anhang prüfen"));
    for (const char* code : {"en", "it", "fr", "es"}) {
        SessionHUDView& hud = makeView(Localizer(QLocale(QString::fromLatin1(code))));
        EXPECT_NE(hud.leaveButton()->text(), "VESK verlassen") << code;
        session.setStatusFeedback(SessionStatusFeedback::appOnOtherSpace);
        render(hud, QStringLiteral("hud-goal-collapsed-%1").arg(code));
        session.setStatusFeedback(std::nullopt);
        click(hud.leaveButton());
        render(hud, QStringLiteral("hud-exit-confirmation-%1").arg(code));
        view.reset();
    }
}

TEST_F(SessionHUDViewTest, RendersItsStates)
{
    session.visibilities = {{"com.example.notes", Visibility::visible},
                            {"com.example.mail", Visibility::onOtherSpace},
                            {"com.example.writer", Visibility::occluded},
                            {"com.example.browser", Visibility::minimized},
                            {"org.example.editor", Visibility::notRunning}};
    SessionHUDView& hud = makeView();
    render(hud, "hud-no-goal");

    session.setGoal(QStringLiteral("Kapitel drei zu Ende schreiben und die Quellen im Anhang prüfen"));
    session.setScreenshotFeedback(SessionScreenshotFeedback::saved);
    render(hud, "hud-goal-collapsed");
    click(hud.goalBanner());
    session.setScreenshotFeedback(std::nullopt);
    session.setStatusFeedback(SessionStatusFeedback::appOnOtherSpace);
    render(hud, "hud-goal-expanded");
    click(hud.goalBanner()->closeButton());
    click(hud.goalBanner()->closeButton());
    session.setStatusFeedback(std::nullopt);
    render(hud, "hud-goal-dismissed");
    click(hud.leaveButton());
    render(hud, "hud-exit-confirmation");
    click(hud.exitConfirmation()->cancelButton());
    click(hud.goalPill());
    click(hud.leaveButton());
    render(hud, "hud-exit-confirmation-with-banner");

    session.setHardcore(true);
    view.reset();
    SessionHUDView& hardcore = makeView();
    session.setScreenshotFeedback(SessionScreenshotFeedback::failed);
    render(hardcore, "hud-hardcore");
}

} // namespace
} // namespace vesk::test
