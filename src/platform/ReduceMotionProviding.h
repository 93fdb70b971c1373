#pragma once

#include <functional>

namespace vesk::platform {

// The system's accessibility setting that asks applications to reduce motion.
class ReduceMotionProviding {
public:
    virtual ~ReduceMotionProviding() = default;
    virtual bool shouldReduceMotion() const = 0;
    // Called on the main thread after the setting changed; an empty function
    // clears it. One observer: the application's ReducedMotion.
    virtual void setReduceMotionChangedHandler(std::function<void()> handler) = 0;
};

} // namespace vesk::platform
