#pragma once

#include "overlay/MouseInteractionDetecting.h"
#include "platform/PointerStateProviding.h"

namespace vesk {

// Asks the system's combined button state for the left, right and centre
// buttons; a button is down as soon as one of them is.
class SystemMouseInteractionDetector final : public MouseInteractionDetecting {
public:
    explicit SystemMouseInteractionDetector(const platform::PointerStateProviding& pointer) : pointer_(pointer) { }

    bool isMouseInteractionActive() const override;

private:
    const platform::PointerStateProviding& pointer_;
};

} // namespace vesk
