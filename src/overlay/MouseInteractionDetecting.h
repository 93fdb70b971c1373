#pragma once

namespace vesk {

// Whether a mouse button is held down right now.
class MouseInteractionDetecting {
public:
    virtual ~MouseInteractionDetecting() = default;
    virtual bool isMouseInteractionActive() const = 0;
};

} // namespace vesk
