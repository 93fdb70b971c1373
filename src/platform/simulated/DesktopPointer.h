#pragma once

#include "platform/PointerStateProviding.h"

#include <map>

namespace vesk::platform {

// The simulated desktop's mouse: where it is and which buttons are down.
class DesktopPointer final : public PointerStateProviding {
public:
    QPointF mouseLocation() const override { return location_; } // bottom-left system
    void setMouseLocation(const QPointF& cocoaPoint) { location_ = cocoaPoint; }
    bool isMouseButtonDown(int button) const override;
    void setMouseButtonDown(int button, bool down) { buttons_[button] = down; }

private:
    QPointF location_;
    std::map<int, bool> buttons_;
};

} // namespace vesk::platform
