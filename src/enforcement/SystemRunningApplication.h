#pragma once

#include "enforcement/RunningApplicationControlling.h"
#include "platform/RunningApplication.h"

#include <memory>

namespace vesk {

// A running application of the platform as the session core sees it.
class SystemRunningApplication final : public RunningApplicationControlling {
public:
    explicit SystemRunningApplication(std::shared_ptr<platform::RunningApplication> application);

    std::optional<QString> bundleIdentifier() const override;
    qint32 processIdentifier() const override;
    bool isTerminated() const override;
    ApplicationActivationPolicy activationPolicy() const override;
    bool isHidden() const override;
    bool activate(ApplicationActivationOptions options) override;
    bool hide() override;
    bool unhide() override;
    bool terminate() override;

private:
    std::shared_ptr<platform::RunningApplication> application_;
};

} // namespace vesk
