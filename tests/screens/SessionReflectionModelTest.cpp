#include "screens/SessionReflectionModel.h"
#include "SessionRecords.h"

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

struct Saved {
    std::optional<GoalStatus> goal;
    std::optional<VeskHelpful> helpful;
    std::optional<QString> note;
    std::optional<ReflectionReasonCategory> reason;
};

SessionReflectionPrompt prompt(SessionEndReason reason, int planned, qint64 ranMilliseconds,
                               std::optional<QString> goal = std::nullopt)
{
    const QDateTime start = utc(2026, 3, 5, 14, 0);
    return SessionReflectionPrompt{QUuid::createUuid(), start, start.addMSecs(ranMilliseconds), planned, reason,
                                   std::move(goal)};
}

class SessionReflectionModelTest : public ::testing::Test {
protected:
    std::unique_ptr<SessionReflectionModel> make(SessionReflectionPrompt p)
    {
        return std::make_unique<SessionReflectionModel>(
            std::move(p),
            [this](std::optional<GoalStatus> goal, std::optional<VeskHelpful> helpful, std::optional<QString> note,
                   std::optional<ReflectionReasonCategory> reason) {
                saves.push_back({goal, helpful, note, reason});
            },
            [this] { ++laterCount; });
    }
    std::vector<Saved> saves;
    int laterCount = 0;
};

TEST_F(SessionReflectionModelTest, TheHeaderSaysHowTheSessionEndedWithTheTimeItRanAndThePlan)
{
    struct Case {
        SessionReflectionPrompt prompt;
        QString title;
        QString times;
        bool alert;
    };
    const std::vector<Case> cases = {
        {prompt(SessionEndReason::timerExpired, 1800, 1'799'400), "ZEIT ABGELAUFEN", " · 30:00 / 30:00", false},
        {prompt(SessionEndReason::manualStop, 3600, 725'000), "SESSION VORBEI", " · 12:05 / 60:00", false},
        {prompt(SessionEndReason::emergencyExit, 0, 5'400'000), "NOTAUSGANG", " · 90:00 / 00:00", true},
        {prompt(SessionEndReason::appTerminate, 9000, 7'507'500), "SESSION VORBEI", " · 125:08 / 150:00", false},
        {prompt(SessionEndReason::crash, 600, -4'000), "SESSION VORBEI", " · 00:00 / 10:00", false},
    };
    for (const Case& c : cases) {
        auto model = make(c.prompt);
        EXPECT_EQ(QString::fromUtf8(model->headerTitle()), c.title);
        EXPECT_EQ(model->headerTimes(), c.times) << c.title.toStdString();
        EXPECT_EQ(model->endedByEmergencyExit(), c.alert);
    }
}

TEST_F(SessionReflectionModelTest, SavingNeedsAGoalOrHelpfulnessAnswerAndChoosingAgainClears)
{
    auto model = make(prompt(SessionEndReason::manualStop, 1800, 60'000));
    EXPECT_FALSE(model->showsGoalQuestion());
    EXPECT_FALSE(model->canSave());
    model->toggleReason(ReflectionReasonCategory::other);
    model->expandNote();
    model->setNoteText(QStringLiteral("nur eine Notiz"));
    EXPECT_FALSE(model->canSave());
    model->save();
    EXPECT_TRUE(saves.empty());

    model->toggleHelpful(VeskHelpful::yes);
    EXPECT_TRUE(model->canSave());
    model->toggleHelpful(VeskHelpful::yes);
    EXPECT_EQ(model->selectedVeskHelpful(), std::nullopt);
    EXPECT_FALSE(model->canSave());
    model->toggleGoalStatus(GoalStatus::partial);
    EXPECT_TRUE(model->canSave());
    model->toggleGoalStatus(GoalStatus::failed);
    EXPECT_EQ(model->selectedGoalStatus(), GoalStatus::failed);
}

TEST_F(SessionReflectionModelTest, AReasonIsAskedAndSavedOnlyWhileTheSessionHelpedSomewhatOrNot)
{
    auto model = make(prompt(SessionEndReason::timerExpired, 1800, 1'800'000, QStringLiteral("Kapitel 3")));
    EXPECT_TRUE(model->showsGoalQuestion());
    model->toggleHelpful(VeskHelpful::somewhat);
    EXPECT_TRUE(model->showsReasonQuestion());
    model->toggleReason(ReflectionReasonCategory::goalUnclear);
    model->toggleHelpful(VeskHelpful::yes);
    EXPECT_FALSE(model->showsReasonQuestion());
    model->save();
    model->toggleHelpful(VeskHelpful::no);
    EXPECT_EQ(model->selectedReason(), ReflectionReasonCategory::goalUnclear);
    model->save();

    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[0].helpful, VeskHelpful::yes);
    EXPECT_EQ(saves[0].reason, std::nullopt);
    EXPECT_EQ(saves[1].helpful, VeskHelpful::no);
    EXPECT_EQ(saves[1].reason, ReflectionReasonCategory::goalUnclear);
    EXPECT_EQ(saves[1].goal, std::nullopt);
    EXPECT_EQ(saves[1].note, std::nullopt);
}

TEST_F(SessionReflectionModelTest, TheNoteIsCutToTwoHundredEightyCharactersAsTheUserCountsThem)
{
    auto model = make(prompt(SessionEndReason::manualStop, 0, 1000));
    // "e" with a combining accent is one character of two code units; the
    // family emoji is one character of several.
    const QString accented = QStringLiteral("e\u0301");
    const QString family = QStringLiteral("\U0001F468\u200D\U0001F469\u200D\U0001F467");
    model->setNoteText(accented.repeated(299) + family);
    EXPECT_EQ(model->noteCharacterCount(), 280);
    EXPECT_EQ(model->noteText(), accented.repeated(280));
    model->setNoteText(QString(279, QLatin1Char('a')) + family + QStringLiteral("b"));
    EXPECT_EQ(model->noteText(), QString(279, QLatin1Char('a')) + family);

    model->setNoteText(QStringLiteral("  \n\t "));
    model->toggleHelpful(VeskHelpful::yes);
    model->save();
    model->setNoteText(QStringLiteral("\n Gut fokussiert. \n"));
    model->save();
    ASSERT_EQ(saves.size(), 2u);
    EXPECT_EQ(saves[0].note, std::nullopt);
    EXPECT_EQ(saves[1].note, QStringLiteral("Gut fokussiert."));
}

TEST_F(SessionReflectionModelTest, LaterHandsNothing)
{
    auto model = make(prompt(SessionEndReason::manualStop, 0, 1000));
    model->toggleHelpful(VeskHelpful::no);
    model->later();
    EXPECT_EQ(laterCount, 1);
    EXPECT_TRUE(saves.empty());
}

} // namespace
} // namespace vesk::test
