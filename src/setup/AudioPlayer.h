#pragma once

namespace vesk {

// One loaded sound that can be played, looped, faded and stopped. Volumes are
// linear, 0 to 1. Main thread only.
class AudioPlayer {
public:
    virtual ~AudioPlayer() = default;
    // Repeat without end when true; play once when false (the default).
    virtual void setLoopsForever(bool loops) = 0;
    virtual double volume() const = 0;
    // Moves the volume to `volume` over `fadeSeconds` (at once for 0).
    virtual void setVolume(double volume, double fadeSeconds) = 0;
    // Readies the sound for playing without delay.
    virtual void prepare() = 0;
    // Starts playing from the current position; false when it cannot.
    virtual bool play() = 0;
    virtual void stop() = 0;
    // Moves the playback position to the beginning.
    virtual void rewind() = 0;
    virtual bool isPlaying() const = 0;
};

} // namespace vesk
