#pragma once

#include <QString>

#include <memory>

namespace vesk {

class AudioPlayer;

// What making a player gave: the player, or none and the reason.
struct AudioPlayerResult {
    std::shared_ptr<AudioPlayer> player;
    QString error;
};

// Makes players for sound files (resource paths such as ":/sounds/sound1.mp3").
class AudioPlayerFactory {
public:
    virtual ~AudioPlayerFactory() = default;
    virtual AudioPlayerResult makePlayer(const QString& filePath) = 0;
};

} // namespace vesk
