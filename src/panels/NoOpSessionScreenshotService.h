#pragma once

#include "panels/SessionScreenshotCapturing.h"

namespace vesk {

// Session screenshots are not available yet: every capture fails with a reason.
class NoOpSessionScreenshotService final : public SessionScreenshotCapturing {
public:
    Result captureAndSave(const QDateTime&) override
    {
        return {std::nullopt, QStringLiteral("Session screenshots are not available in this build")};
    }
};

} // namespace vesk
