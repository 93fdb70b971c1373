#include "setup/QtAudioPlayer.h"

#include <QUrl>

namespace vesk {

QtAudioPlayer::QtAudioPlayer(const QByteArray& data, const QString& fileName) : data_(data), buffer_(&data_)
{
    buffer_.open(QIODevice::ReadOnly);
    player_.setAudioOutput(&output_);
    player_.setSourceDevice(&buffer_, QUrl(fileName));
    QObject::connect(&fade_, &QVariantAnimation::valueChanged, &output_,
                     [this](const QVariant& value) { output_.setVolume(value.toFloat()); });
    QObject::connect(&player_, &QMediaPlayer::playbackStateChanged, &player_,
                     [this](QMediaPlayer::PlaybackState state) {
                         if (state == QMediaPlayer::StoppedState) {
                             isPlaying_ = false;
                         }
                     });
}

void QtAudioPlayer::setLoopsForever(bool loops)
{
    player_.setLoops(loops ? QMediaPlayer::Infinite : 1);
}

double QtAudioPlayer::volume() const
{
    return output_.volume();
}

void QtAudioPlayer::setVolume(double volume, double fadeSeconds)
{
    fade_.stop();
    if (fadeSeconds <= 0) {
        output_.setVolume(static_cast<float>(volume));
        return;
    }
    fade_.setStartValue(static_cast<double>(output_.volume()));
    fade_.setEndValue(volume);
    fade_.setDuration(static_cast<int>(fadeSeconds * 1000));
    fade_.start();
}

void QtAudioPlayer::prepare()
{
    // The media is loaded when the source is set; nothing more to ready.
}

bool QtAudioPlayer::play()
{
    if (player_.error() != QMediaPlayer::NoError || player_.mediaStatus() == QMediaPlayer::InvalidMedia) {
        return false;
    }
    player_.play();
    isPlaying_ = true;
    return true;
}

void QtAudioPlayer::stop()
{
    fade_.stop();
    player_.stop();
    isPlaying_ = false;
}

void QtAudioPlayer::rewind()
{
    player_.setPosition(0);
}

bool QtAudioPlayer::isPlaying() const
{
    return isPlaying_;
}

} // namespace vesk
