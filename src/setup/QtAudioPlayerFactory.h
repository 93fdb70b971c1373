#pragma once

#include "setup/AudioPlayerFactory.h"

#include <QStringList>

#include <optional>

namespace vesk {

// Players on Qt Multimedia (QMediaPlayer with its own audio output).
//
// A media player built where nothing can play takes the process down with
// it (without an audio output device, or without the media framework's
// decoders for the file), so the factory asks first and makes no player
// there: the sounds stay silent and the reason is the result's error.
class QtAudioPlayerFactory final : public AudioPlayerFactory {
public:
    AudioPlayerResult makePlayer(const QString& filePath) override;

    // Why a file of `mimeType` cannot be played, none when it can.
    static std::optional<QString> playbackObstacle(bool hasAudioOutput, const QStringList& decodableMimeTypes,
                                                   const QString& mimeType);
};

} // namespace vesk
