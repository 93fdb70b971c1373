#pragma once

#include "setup/AudioPlayerFactory.h"

namespace vesk {

// Players on Qt Multimedia (QMediaPlayer with its own audio output).
class QtAudioPlayerFactory final : public AudioPlayerFactory {
public:
    AudioPlayerResult makePlayer(const QString& filePath) override;
};

} // namespace vesk
