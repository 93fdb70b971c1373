#pragma once

#include "setup/AudioPlayer.h"

#include <QAudioOutput>
#include <QBuffer>
#include <QByteArray>
#include <QMediaPlayer>
#include <QVariantAnimation>

namespace vesk {

// An AudioPlayer on Qt Multimedia. The sound's bytes are read once and played
// from memory; fades are a volume animation on the Qt event loop.
class QtAudioPlayer final : public AudioPlayer {
public:
    // `data` is the whole sound file; `fileName` gives its type.
    QtAudioPlayer(const QByteArray& data, const QString& fileName);

    void setLoopsForever(bool loops) override;
    double volume() const override;
    void setVolume(double volume, double fadeSeconds) override;
    void prepare() override;
    bool play() override;
    void stop() override;
    void rewind() override;
    bool isPlaying() const override;

private:
    QByteArray data_;
    QBuffer buffer_;
    QAudioOutput output_;
    QMediaPlayer player_;
    QVariantAnimation fade_;
    bool isPlaying_ = false;
};

} // namespace vesk
