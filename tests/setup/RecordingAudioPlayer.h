#pragma once

#include "setup/AudioPlayer.h"
#include "setup/AudioPlayerFactory.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace vesk::test {

// A player that plays nothing and records what it was asked, for tests
// without an audio device. A fade is recorded with its duration; the volume
// takes the target at once.
class RecordingAudioPlayer final : public AudioPlayer {
public:
    explicit RecordingAudioPlayer(QString fileName) : name(std::move(fileName)) { }

    void setLoopsForever(bool value) override { loopsForever = value; }
    double volume() const override { return volume_; }
    void setVolume(double value, double fadeSeconds) override
    {
        volume_ = value;
        calls << QStringLiteral("volume %1 over %2").arg(value).arg(fadeSeconds);
    }
    void prepare() override { calls << "prepare"; }
    bool play() override
    {
        calls << "play";
        playing = playSucceeds;
        return playSucceeds;
    }
    void stop() override
    {
        calls << "stop";
        playing = false;
    }
    void rewind() override { calls << "rewind"; }
    bool isPlaying() const override { return playing; }

    QString name;
    QStringList calls;
    bool loopsForever = false;
    bool playing = false;
    bool playSucceeds = true;

private:
    double volume_ = 1;
};

// Makes recording players and keeps every one it made.
class RecordingAudioPlayerFactory final : public AudioPlayerFactory {
public:
    AudioPlayerResult makePlayer(const QString& filePath) override
    {
        requested << filePath;
        if (!failure.isEmpty()) {
            return {nullptr, failure};
        }
        auto player = std::make_shared<RecordingAudioPlayer>(filePath.section('/', -1));
        player->playSucceeds = playSucceeds;
        made.push_back(player);
        return {player, {}};
    }

    QStringList requested;
    std::vector<std::shared_ptr<RecordingAudioPlayer>> made;
    QString failure;
    bool playSucceeds = true;
};

} // namespace vesk::test
