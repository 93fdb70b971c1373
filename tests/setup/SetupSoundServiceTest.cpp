#include "RecordingAudioPlayer.h"
#include "SetupFixture.h"

#include "setup/SetupSoundService.h"

#include <QFile>

namespace vesk::test {
namespace {

class SetupSoundServiceTest : public SetupFixture {
protected:
    void SetUp() override { sounds->setEnabled(true); }
    QStringList messages() const { return log.messages("SetupSoundService"); }
    RecordingAudioPlayer& loop() { return *players.made.at(0); }

    RecordingAudioPlayerFactory players;
    std::unique_ptr<SetupSoundService> sounds = std::make_unique<SetupSoundService>(scheduler, players);
};

TEST_F(SetupSoundServiceTest, TheLoopFadesInAndAQuickReselectionKeepsItPlaying)
{
    sounds->startSelectionLoop();
    ASSERT_EQ(players.made.size(), 1u);
    EXPECT_EQ(players.requested, QStringList{":/sounds/sound1.mp3"});
    EXPECT_TRUE(loop().loopsForever);
    EXPECT_EQ(loop().calls, (QStringList{"volume 0 over 0", "prepare", "play", "volume 1 over 0.2"}));

    sounds->fadeOutSelectionLoop();
    scheduler.advance(0.1);
    sounds->startSelectionLoop();
    scheduler.advance(1);
    EXPECT_EQ(players.made.size(), 1u) << "the playing loop is ramped back up, not replaced";
    EXPECT_TRUE(loop().isPlaying());
    EXPECT_DOUBLE_EQ(loop().volume(), 1.0);
    EXPECT_EQ(loop().calls.mid(4), (QStringList{"volume 0 over 0.2", "volume 1 over 0.2"}));
}

TEST_F(SetupSoundServiceTest, TheLoopStopsAfterItsFadeOut)
{
    sounds->startSelectionLoop();
    sounds->fadeOutSelectionLoop();
    scheduler.advance(0.19);
    EXPECT_TRUE(loop().isPlaying());
    scheduler.advance(0.01);
    EXPECT_FALSE(loop().isPlaying());
    EXPECT_TRUE(messages().contains("[SetupSoundService] selection-loop stopped after fade"));
    sounds->startSelectionLoop();
    EXPECT_EQ(players.made.size(), 2u) << "a loop that no longer plays is replaced";
}

TEST_F(SetupSoundServiceTest, WithSoundOffNoPlayerIsEverMade)
{
    sounds->startSelectionLoop();
    sounds->setEnabled(false);
    EXPECT_FALSE(loop().isPlaying()) << "switching off stops at once";
    EXPECT_EQ(loop().calls.last(), "rewind");
    sounds->startSelectionLoop();
    sounds->playVeskStart();
    EXPECT_EQ(players.made.size(), 1u);
    EXPECT_EQ(messages().mid(messages().size() - 2),
              (QStringList{"[SetupSoundService] selection-loop skipped — sound disabled",
                           "[SetupSoundService] vesk-start skipped — sound disabled"}));
    sounds->setEnabled(false);
    EXPECT_EQ(messages().count("[SetupSoundService] enabled=false"), 1) << "an unchanged value logs nothing";
}

TEST_F(SetupSoundServiceTest, TheStartSoundRestartsOnTheSamePlayer)
{
    sounds->playVeskStart();
    sounds->playVeskStart();
    ASSERT_EQ(players.made.size(), 1u);
    EXPECT_EQ(players.made[0]->name, "sound3.mp3");
    EXPECT_FALSE(players.made[0]->loopsForever);
    EXPECT_EQ(players.made[0]->calls.count("rewind"), 2);
    EXPECT_EQ(players.made[0]->calls.count("play"), 2);
}

TEST_F(SetupSoundServiceTest, FadeOutAllLingersTheLoopAndAStartWithinTheFadePlaysOn)
{
    sounds->fadeOutAll();
    EXPECT_FALSE(messages().join('\n').contains("fadeOutAll")) << "nothing playing: nothing logged";

    sounds->startSelectionLoop();
    sounds->playVeskStart();
    RecordingAudioPlayer& start = *players.made.at(1);
    sounds->fadeOutAll();
    EXPECT_TRUE(messages().contains("[SetupSoundService] fadeOutAll — sound3=0.6s sound1=4.0s"));
    EXPECT_EQ(start.calls.last(), "volume 0 over 0.6");
    EXPECT_EQ(loop().calls.last(), "volume 0 over 4");

    scheduler.advance(0.3);
    sounds->playVeskStart();
    scheduler.advance(1);
    EXPECT_TRUE(start.isPlaying()) << "the pending stop of the start sound was cancelled";
    EXPECT_TRUE(loop().isPlaying());
    scheduler.advance(3);
    EXPECT_FALSE(loop().isPlaying());
    EXPECT_TRUE(messages().contains("[SetupSoundService] sound1 stopped after lingering fade"));
}

TEST_F(SetupSoundServiceTest, TheStartSoundStopsAfterItsFadeEvenWhenTheServiceIsGone)
{
    sounds->playVeskStart();
    std::shared_ptr<RecordingAudioPlayer> start = players.made.at(0);
    sounds->fadeOutAll();
    sounds.reset();
    scheduler.advance(0.6);
    EXPECT_FALSE(start->isPlaying());
    EXPECT_FALSE(log.contains("sound3 stopped after fade"));
}

TEST_F(SetupSoundServiceTest, FailuresAreLoggedAndTriedAgainLater)
{
    players.failure = "unreadable";
    sounds->startSelectionLoop();
    EXPECT_TRUE(messages().contains("[SetupSoundService] AVAudioPlayer init failed for sound1: unreadable"));
    players.failure.clear();
    players.playSucceeds = false;
    sounds->startSelectionLoop();
    sounds->playVeskStart();
    EXPECT_TRUE(messages().contains("[SetupSoundService] selection-loop play() returned false"));
    EXPECT_TRUE(messages().contains("[SetupSoundService] vesk-start play() returned false"));
    players.playSucceeds = true;
    sounds->playVeskStart();
    EXPECT_EQ(players.made.size(), 3u) << "a start player that failed to play was not kept";

    SetupSoundService elsewhere(scheduler, players, root.filePath("no-sounds"));
    elsewhere.setEnabled(true);
    elsewhere.startSelectionLoop();
    EXPECT_TRUE(log.contains("[SetupSoundService] missing audio resource sound1.mp3 in bundle"));
}

// The Qt players themselves need an audio device, which the test machines lack.
TEST(SetupSoundResources, BothSoundsShipAsMp3)
{
    for (const QString name : {"sound1", "sound3"}) {
        QFile file(":/sounds/" + name + ".mp3");
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        const QByteArray head = file.read(3);
        EXPECT_TRUE(head == "ID3" || (static_cast<unsigned char>(head[0]) == 0xFF)) << name.toStdString();
        EXPECT_GT(file.size(), 4000) << name.toStdString();
    }
}

} // namespace
} // namespace vesk::test
