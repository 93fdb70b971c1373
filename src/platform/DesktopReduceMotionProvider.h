#pragma once

#include "platform/ReduceMotionProviding.h"

#include <QMetaObject>

namespace vesk::platform {

class SimulatedDesktop;

// The simulated desktop's reduce-motion setting.
class DesktopReduceMotionProvider final : public ReduceMotionProviding {
public:
    explicit DesktopReduceMotionProvider(SimulatedDesktop& desktop) : desktop_(desktop) {}
    ~DesktopReduceMotionProvider() override;
    DesktopReduceMotionProvider(const DesktopReduceMotionProvider&) = delete;
    DesktopReduceMotionProvider& operator=(const DesktopReduceMotionProvider&) = delete;

    bool shouldReduceMotion() const override;
    void setReduceMotionChangedHandler(std::function<void()> handler) override;

private:
    SimulatedDesktop& desktop_;
    QMetaObject::Connection connection_;
};

} // namespace vesk::platform
