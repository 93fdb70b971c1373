#include "setup/QtAudioPlayerFactory.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QMediaFormat>

#include <gtest/gtest.h>

namespace vesk::test {
namespace {

TEST(QtAudioPlayerFactory, PlaysOnlyWithAnOutputDeviceAndADecoderForTheFile)
{
    struct Case {
        bool hasAudioOutput;
        QStringList decodable;
        std::optional<QString> obstacle;
    };
    const std::vector<Case> cases{
        {true, {"audio/x-wav", "audio/mpeg"}, std::nullopt},
        {false, {"audio/mpeg"}, QString("No audio output device.")},
        {true, {"audio/x-wav"}, QString("No decoder for audio/mpeg.")},
        {true, {}, QString("No decoder for audio/mpeg.")},
        {false, {}, QString("No audio output device.")},
    };
    for (const Case& testCase : cases) {
        EXPECT_EQ(QtAudioPlayerFactory::playbackObstacle(testCase.hasAudioOutput, testCase.decodable, "audio/mpeg"),
                  testCase.obstacle)
            << testCase.hasAudioOutput << " " << testCase.decodable.join(',').toStdString();
    }
}

// Where this machine can play nothing, asking for a player of the setup
// sound answers with the reason instead of taking the process down.
TEST(QtAudioPlayerFactory, MakesNoPlayerWhereNothingCanPlay)
{
    const bool decodesMp3 = QMediaFormat().supportedFileFormats(QMediaFormat::Decode).contains(QMediaFormat::MP3);
    if (!QMediaDevices::defaultAudioOutput().isNull() && decodesMp3)
        GTEST_SKIP() << "this machine can play the sound";
    QtAudioPlayerFactory factory;
    const AudioPlayerResult result = factory.makePlayer(QStringLiteral(":/sounds/sound1.mp3"));
    EXPECT_EQ(result.player, nullptr);
    EXPECT_FALSE(result.error.isEmpty());
}

} // namespace
} // namespace vesk::test
