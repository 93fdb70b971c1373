#pragma once

#include "platform/ApplicationActivity.h"

namespace vesk::platform {

class SimulatedDesktop;

// Vesk's activity on the simulated desktop: active while it is the frontmost
// application. The process ends when the desktop terminates Vesk or when Qt
// is about to quit, whichever comes first.
class DesktopApplicationActivity final : public ApplicationActivity {
    Q_OBJECT

public:
    explicit DesktopApplicationActivity(const SimulatedDesktop& desktop, QObject* parent = nullptr);

    bool isActive() const override;

private:
    void terminate();

    const SimulatedDesktop& desktop_;
    bool terminated_ = false;
};

} // namespace vesk::platform
