#pragma once

#include "logging/VeskLogger.h"
#include "platform/PresentationOptionsControlling.h"

namespace vesk::platform {

// The application's presentation options, kept as set. An X11 desktop has no
// such switches: hiding panels or disabling switching is not applied here,
// which the first change that asks for anything says once in the log.
class X11PresentationOptions final : public PresentationOptionsControlling {
public:
    int presentationOptions() const override { return options_; }
    void setPresentationOptions(int options) override;

private:
    int options_ = 0;
    bool reported_ = false;
    VeskLogger logger_{QStringLiteral("X11PresentationOptions")};
};

} // namespace vesk::platform
