#pragma once

#include "enforcement/RunningApplicationControlling.h"
#include "platform/RunningApplication.h"

namespace vesk {

// A running application of the desktop as the session core controls it.
class SystemRunningApplication final : public RunningApplicationControlling {
public:
    explicit SystemRunningApplication(platform::RunningApplication application)
        : application_(std::move(application))
    {
    }

    std::optional<QString> bundleIdentifier() const override { return application_.bundleIdentifier(); }
    qint32 processIdentifier() const override { return application_.processIdentifier(); }
    bool isTerminated() const override { return application_.isTerminated(); }
    ApplicationActivationPolicy activationPolicy() const override;
    bool isHidden() const override { return application_.isHidden(); }
    bool activate(ApplicationActivationOptions options) override;
    bool hide() override { return application_.hide(); }
    bool unhide() override { return application_.unhide(); }
    bool terminate() override { return application_.terminate(); }

private:
    platform::RunningApplication application_;
};

} // namespace vesk
