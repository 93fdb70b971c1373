#pragma once

#include "core/WorkItem.h"
#include "logging/VeskLogger.h"

#include <QObject>
#include <QString>

#include <memory>

namespace vesk {

class AudioPlayer;
class AudioPlayerFactory;
class Scheduler;

// The setup screen's two sounds: the selection loop ("sound1", while at least
// one application is selected) and the start sound ("sound3", on "ENTER
// VESK"). Both fade in and out with fixed durations and nothing plays while
// sound is off. Players are made on first use and kept; failures are logged
// and the setup flow goes on without sound. Main thread only.
class SetupSoundService final : public QObject {
    Q_OBJECT

public:
    static constexpr double loopFadeSeconds = 0.2;
    static constexpr double startFadeOutSeconds = 0.6;
    static constexpr double lingeringLoopFadeSeconds = 4.0;

    // Sounds are looked up as "<soundFolder>/<name>.mp3" (the application's
    // resources by default).
    SetupSoundService(Scheduler& scheduler, AudioPlayerFactory& players,
                      QString soundFolder = QStringLiteral(":/sounds"), QObject* parent = nullptr);
    ~SetupSoundService() override;

    bool isEnabled() const { return isEnabled_; }
    // Off stops both sounds at once.
    void setEnabled(bool enabled);
    // Starts the loop, or fades a loop that is fading out back up.
    void startSelectionLoop();
    void fadeOutSelectionLoop();
    // Plays the start sound once from its beginning.
    void playVeskStart();
    // Fades out whatever plays: the start sound over 0.6 s, the loop over 4.0 s.
    void fadeOutAll();
    // Stops both sounds at once, without a fade.
    void stopAll();

private:
    std::shared_ptr<AudioPlayer> makePlayer(const QString& name);
    static void stopAndRewind(AudioPlayer& player);

    Scheduler& scheduler_;
    AudioPlayerFactory& players_;
    QString soundFolder_;
    bool isEnabled_ = false;
    std::shared_ptr<AudioPlayer> selectionLoopPlayer_;
    std::shared_ptr<AudioPlayer> veskStartPlayer_;
    WorkItem selectionStopWorkItem_;
    WorkItem veskStopWorkItem_;
    VeskLogger logger_{QStringLiteral("SetupSoundService")};
};

} // namespace vesk
