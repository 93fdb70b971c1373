#pragma once

namespace vesk {

// A service that changes a system setting during a session and can put it
// back from its saved backup at any time: at launch and when the application
// terminates. Safe to call when nothing was changed.
class EmergencyRestoring {
public:
    virtual ~EmergencyRestoring() = default;
    virtual void emergencyRestore() = 0;
};

} // namespace vesk
