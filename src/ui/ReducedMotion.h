#pragma once

#include <QObject>

namespace vesk {

class VeskDefaultsStore;
namespace platform {
class ReduceMotionProviding;
}

// Whether views should hold still: on when the system asks to reduce motion
// or the user turned on the app's "vesk.reducedMotion" setting. The
// application owns one and hands it to its views; under it the galaxy
// backdrop and the Vesk symbol stop their timelines and show a fixed pose.
// Main thread only.
class ReducedMotion final : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool isOn READ isOn NOTIFY changed)

public:
    ReducedMotion(const platform::ReduceMotionProviding& system, const VeskDefaultsStore& settings,
                  QObject* parent = nullptr);

    bool isOn() const { return isOn_; }

signals:
    // The combined value changed.
    void changed();

private:
    void update();

    const platform::ReduceMotionProviding& system_;
    const VeskDefaultsStore& settings_;
    bool isOn_ = false;
};

} // namespace vesk
