#pragma once

#include <QPointF>

namespace vesk::platform {

// Where the mouse pointer is and which buttons are down.
class PointerStateProviding {
public:
    virtual ~PointerStateProviding() = default;
    // In the bottom-left (Cocoa) system.
    virtual QPointF mouseLocation() const = 0;
    // Button 0 left, 1 right, 2 centre, and further buttons.
    virtual bool isMouseButtonDown(int button) const = 0;
};

} // namespace vesk::platform
