#include "setup/SetupSoundService.h"

#include "core/Scheduler.h"
#include "core/TextFormat.h"
#include "setup/AudioPlayer.h"
#include "setup/AudioPlayerFactory.h"

#include <QFile>
#include <QPointer>

namespace vesk {

namespace {

const QString selectionLoopSound = QStringLiteral("sound1");
const QString veskStartSound = QStringLiteral("sound3");
const QString soundExtension = QStringLiteral("mp3");
constexpr double fullVolume = 1.0;

} // namespace

SetupSoundService::SetupSoundService(Scheduler& scheduler, AudioPlayerFactory& players, QString soundFolder,
                                     QObject* parent)
    : QObject(parent)
    , scheduler_(scheduler)
    , players_(players)
    , soundFolder_(std::move(soundFolder))
{
}

SetupSoundService::~SetupSoundService()
{
    selectionStopWorkItem_.cancel();
    // A pending stop of the start sound still runs: it holds its player.
}

void SetupSoundService::setEnabled(bool enabled)
{
    if (enabled == isEnabled_) {
        return;
    }
    isEnabled_ = enabled;
    logger_.log(VeskLogLevel::info, "[SetupSoundService] enabled=" + boolText(enabled));
    if (!enabled) {
        stopAll();
    }
}

void SetupSoundService::stopAll()
{
    selectionStopWorkItem_.cancelAndClear();
    veskStopWorkItem_.cancelAndClear();
    for (const auto& player : {selectionLoopPlayer_, veskStartPlayer_}) {
        if (player && player->isPlaying()) {
            stopAndRewind(*player);
        }
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("[SetupSoundService] stopAll"));
}

void SetupSoundService::startSelectionLoop()
{
    if (!isEnabled_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("[SetupSoundService] selection-loop skipped — sound disabled"));
        return;
    }
    selectionStopWorkItem_.cancelAndClear();
    if (selectionLoopPlayer_ && selectionLoopPlayer_->isPlaying()) {
        selectionLoopPlayer_->setVolume(fullVolume, loopFadeSeconds);
        return;
    }
    const std::shared_ptr<AudioPlayer> player = makePlayer(selectionLoopSound);
    if (!player) {
        return;
    }
    player->setLoopsForever(true);
    player->setVolume(0.0, 0);
    player->prepare();
    if (!player->play()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("[SetupSoundService] selection-loop play() returned false"));
        return;
    }
    player->setVolume(fullVolume, loopFadeSeconds);
    selectionLoopPlayer_ = player;
    logger_.log(VeskLogLevel::info, QStringLiteral("[SetupSoundService] selection-loop started"));
}

void SetupSoundService::fadeOutSelectionLoop()
{
    if (!selectionLoopPlayer_ || !selectionLoopPlayer_->isPlaying()) {
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("[SetupSoundService] selection-loop fading out"));
    selectionLoopPlayer_->setVolume(0.0, loopFadeSeconds);
    selectionStopWorkItem_.cancel();
    QPointer<SetupSoundService> self(this);
    selectionStopWorkItem_ = scheduler_.asyncAfter(loopFadeSeconds, [self] {
        if (!self || !self->selectionLoopPlayer_) {
            return;
        }
        stopAndRewind(*self->selectionLoopPlayer_);
        self->logger_.log(VeskLogLevel::debug, QStringLiteral("[SetupSoundService] selection-loop stopped after fade"));
    });
}

void SetupSoundService::playVeskStart()
{
    if (!isEnabled_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("[SetupSoundService] vesk-start skipped — sound disabled"));
        return;
    }
    veskStopWorkItem_.cancelAndClear();
    const std::shared_ptr<AudioPlayer> player = veskStartPlayer_ ? veskStartPlayer_ : makePlayer(veskStartSound);
    if (!player) {
        return;
    }
    player->rewind();
    player->setVolume(fullVolume, 0);
    player->prepare();
    if (!player->play()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("[SetupSoundService] vesk-start play() returned false"));
        return;
    }
    veskStartPlayer_ = player;
    logger_.log(VeskLogLevel::info, QStringLiteral("[SetupSoundService] vesk-start playing"));
}

void SetupSoundService::fadeOutAll()
{
    QPointer<SetupSoundService> self(this);
    bool fadedAny = false;
    if (veskStartPlayer_ && veskStartPlayer_->isPlaying()) {
        fadedAny = true;
        veskStopWorkItem_.cancelAndClear();
        veskStartPlayer_->setVolume(0.0, startFadeOutSeconds);
        veskStopWorkItem_ = scheduler_.asyncAfter(startFadeOutSeconds, [self, player = veskStartPlayer_] {
            stopAndRewind(*player);
            if (self) {
                self->logger_.log(VeskLogLevel::debug, "[SetupSoundService] " + veskStartSound + " stopped after fade");
            }
        });
    }
    if (selectionLoopPlayer_ && selectionLoopPlayer_->isPlaying()) {
        fadedAny = true;
        selectionStopWorkItem_.cancel();
        selectionLoopPlayer_->setVolume(0.0, lingeringLoopFadeSeconds);
        selectionStopWorkItem_ = scheduler_.asyncAfter(lingeringLoopFadeSeconds, [self] {
            if (!self || !self->selectionLoopPlayer_) {
                return;
            }
            stopAndRewind(*self->selectionLoopPlayer_);
            self->logger_.log(VeskLogLevel::debug,
                              "[SetupSoundService] " + selectionLoopSound + " stopped after lingering fade");
        });
    }
    if (fadedAny) {
        logger_.log(VeskLogLevel::info, "[SetupSoundService] fadeOutAll — sound3=" + doubleText(startFadeOutSeconds)
                                            + "s sound1=" + doubleText(lingeringLoopFadeSeconds) + "s");
    }
}

std::shared_ptr<AudioPlayer> SetupSoundService::makePlayer(const QString& name)
{
    const QString path = soundFolder_ + "/" + name + "." + soundExtension;
    if (!QFile::exists(path)) {
        logger_.log(VeskLogLevel::error,
                    "[SetupSoundService] missing audio resource " + name + "." + soundExtension + " in bundle");
        return nullptr;
    }
    AudioPlayerResult result = players_.makePlayer(path);
    if (!result.player) {
        logger_.log(VeskLogLevel::error,
                    "[SetupSoundService] AVAudioPlayer init failed for " + name + ": " + result.error);
    }
    return result.player;
}

void SetupSoundService::stopAndRewind(AudioPlayer& player)
{
    player.stop();
    player.rewind();
}

} // namespace vesk
