#pragma once

namespace vesk {

// Covers each display's desktop with a black panel during a session.
class DesktopIsolating {
public:
    virtual ~DesktopIsolating() = default;
    virtual void activate() = 0;
    virtual void deactivate() = 0;
};

} // namespace vesk
