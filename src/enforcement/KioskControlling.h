#pragma once

namespace vesk {

// The application's restricted presentation mode during a session.
class KioskControlling {
public:
    virtual ~KioskControlling() = default;
    // Hides Dock and menu bar, disables the Apple menu, process switching and hiding.
    virtual void activate() = 0;
    // Presentation options back to none.
    virtual void deactivate() = 0;
};

} // namespace vesk
