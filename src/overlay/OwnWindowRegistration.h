#pragma once

#include "platform/OwnWindowSpec.h"

#include <optional>

namespace vesk::platform {
class SimulatedDesktop;
}

namespace vesk {

// Keeps one of our panels listed in the desktop's window list at its level:
// listed while ordered in, kept but not visible while ordered out, removed
// when the panel goes away. Without a desktop it does nothing.
class OwnWindowRegistration {
public:
    OwnWindowRegistration(platform::SimulatedDesktop* desktop, platform::OwnWindowSpec spec);
    ~OwnWindowRegistration();
    OwnWindowRegistration(const OwnWindowRegistration&) = delete;
    OwnWindowRegistration& operator=(const OwnWindowRegistration&) = delete;

    void orderIn();
    void orderOut();
    std::optional<quint32> windowNumber() const { return number_; }

private:
    void publish();

    platform::SimulatedDesktop* desktop_;
    platform::OwnWindowSpec spec_;
    std::optional<quint32> number_;
};

} // namespace vesk
