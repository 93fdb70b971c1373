#include "screens/FocusSessionPresentation.h"
#include "SessionRecords.h"
#include "platform/simulated/DesktopTestScene.h"

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

TEST(FocusSessionPresentationTest, EveryEndReasonHasItsLabelAndAnyOtherTextIsUnknown)
{
    const std::vector<std::pair<std::optional<QString>, QString>> cases = {
        {"timerExpired", "Timer abgelaufen"},
        {"manualStop", "Manuell beendet"},
        {"emergencyExit", "Notausgang"},
        {"noAllowedWindows", "Keine erlaubten Fenster"},
        {"appTerminate", "App wurde beendet"},
        {"crash", "Nach Absturz beendet"},
        {"EmergencyExit", "Unbekannter Abschluss"},
        {"", "Unbekannter Abschluss"},
        {std::nullopt, "Unbekannter Abschluss"},
    };
    for (const auto& [raw, label] : cases) {
        FocusSession session;
        session.endReason = raw;
        EXPECT_EQ(endReasonLabel(session, Localizer()), label) << raw.value_or("(none)").toStdString();
    }
}

TEST(FocusSessionPresentationTest, AnswerLabelsAndTheirAbsence)
{
    const std::vector<std::tuple<std::optional<GoalStatus>, std::optional<VeskHelpful>, QString, QString>> cases = {
        {GoalStatus::done, VeskHelpful::yes, "Erledigt", "Ja"},
        {GoalStatus::partial, VeskHelpful::somewhat, "Teilweise", "Etwas"},
        {GoalStatus::failed, VeskHelpful::no, "Nicht geschafft", "Nein"},
        {std::nullopt, std::nullopt, "Nicht beantwortet", "Nicht beantwortet"},
    };
    for (const auto& [goal, helpful, goalLabel, helpfulLabel] : cases) {
        FocusSession session;
        session.goalStatus = goal;
        session.veskHelpful = helpful;
        EXPECT_EQ(goalStatusLabel(session, Localizer()), goalLabel);
        EXPECT_EQ(veskHelpfulLabel(session, Localizer()), helpfulLabel);
    }
}

TEST(FocusSessionPresentationTest, EffectiveDurationRoundsToTheNearestSecondAndNeverGoesBelowZero)
{
    const QDateTime start = utc(2026, 3, 5, 14, 0);
    const QDateTime now = start.addSecs(5000);
    struct Case {
        const char* name;
        std::optional<QDateTime> end;
        qint64 planned;
        qint64 expected;
    };
    const std::vector<Case> cases = {
        {"ended: end minus start whatever was planned", start.addSecs(754), 3600, 754},
        {"half a second rounds up", start.addMSecs(754500), 0, 755},
        {"just under half rounds down", start.addMSecs(754499), 0, 754},
        {"an end before the start is 0", start.addSecs(-30), 1800, 0},
        {"running with a plan: the plan", std::nullopt, 1800, 1800},
        {"open-ended and running: up to now", std::nullopt, 0, 5000},
    };
    for (const Case& c : cases) {
        FocusSession session;
        session.startedAt = start;
        session.endedAt = c.end;
        session.durationSeconds = c.planned;
        EXPECT_EQ(effectiveDurationSeconds(session, now), c.expected) << c.name;
    }
}

TEST(FocusSessionPresentationTest, DurationClockTextAddsHoursFromAnHourOnAndNeverCapsThem)
{
    const std::vector<std::pair<qint64, QString>> cases = {
        {0, "00:00"},       {59, "00:59"},      {754, "12:34"},        {3599, "59:59"},
        {3600, "01:00:00"}, {3661, "01:01:01"}, {360000, "100:00:00"}, {-5, "00:00"},
    };
    for (const auto& [seconds, text] : cases)
        EXPECT_EQ(durationClockText(seconds), text) << seconds;
}

TEST(FocusSessionPresentationTest, DateLabelsShowBerlinTimeInTheLanguagesOrder)
{
    FocusSession session;
    // 23:30 UTC in winter is half past midnight of the next day in Berlin;
    // in summer the offset is two hours.
    session.startedAt = utc(2026, 1, 14, 23, 30);
    const QTimeZone berlin = historyTimeZone();
    ASSERT_EQ(berlin.id(), QByteArray("Europe/Berlin"));
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::German, QLocale::Germany), berlin), "15.01.2026, 00:30");
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::English, QLocale::UnitedStates), berlin), "01/15/2026, 00:30");
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::English, QLocale::UnitedKingdom), berlin), "15/01/2026, 00:30");
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::French, QLocale::France), berlin), "15/01/2026 00:30");
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::Italian, QLocale::Italy), berlin), "15/01/2026, 00:30");
    session.startedAt = utc(2026, 7, 1, 8, 5);
    EXPECT_EQ(dateLabel(session, QLocale(QLocale::German, QLocale::Germany), berlin), "01.07.2026, 10:05");
}

TEST(FocusSessionPresentationTest, AnUnknownZoneFallsBackToTheSystemsZone)
{
    EXPECT_EQ(historyTimeZoneNamed("Nowhere/Atlantis"), QTimeZone::systemTimeZone());
    EXPECT_EQ(historyTimeZoneNamed("Europe/Berlin").id(), QByteArray("Europe/Berlin"));
}

TEST(FocusSessionPresentationTest, TrimmedGoalAndNoteAreAbsentWhenBlank)
{
    FocusSession session;
    EXPECT_EQ(trimmedGoalText(session), std::nullopt);
    session.goalText = QStringLiteral(" \n\t ");
    session.goalNote = QStringLiteral("\n  Gut gelaufen \n");
    EXPECT_EQ(trimmedGoalText(session), std::nullopt);
    EXPECT_EQ(trimmedGoalNote(session), QStringLiteral("Gut gelaufen"));
}

class AllowedAppsSummaryTest : public platform::testing::DesktopTestScene {
protected:
    void SetUp() override
    {
        auto scenario = twoDisplayScenario();
        scenario.bundles.push_back(bundle("/Applications/atlas.app", "com.example.atlas", "atlas"));
        build(scenario);
    }
    QString summary(const FocusSession& session)
    {
        const auto platform = desktop->interfaces();
        return allowedAppsSummary(session, Localizer(), AppDirectory{platform.workspace, platform.files});
    }
};

TEST_F(AllowedAppsSummaryTest, NamesSortCaseInsensitivelyAndUnknownAppsKeepTheirIdentifier)
{
    FocusSession session;
    session.allAllowedAppBundleIDs = {"com.example.editor", "com.example.atlas", "com.example.browser",
                                      "com.unknown.tool"};
    EXPECT_EQ(summary(session), "atlas, Browser, com.unknown.tool, Editor");
}

TEST_F(AllowedAppsSummaryTest, TheFinalAllowlistStandsInForAnEmptyHistoryAndNoneIsSaid)
{
    FocusSession session;
    session.allowedAppBundleIDs = {"com.example.editor"};
    EXPECT_EQ(summary(session), "Editor");
    EXPECT_EQ(shownAppBundleIDs(session), QStringList{"com.example.editor"});
    session.allAllowedAppBundleIDs = {"com.example.browser"};
    EXPECT_EQ(summary(session), "Browser");
    EXPECT_EQ(summary(FocusSession()), "Keine Apps gespeichert");
}

} // namespace
} // namespace vesk::test
