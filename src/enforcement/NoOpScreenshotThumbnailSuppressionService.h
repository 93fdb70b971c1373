#pragma once

#include "enforcement/EmergencyRestoring.h"
#include "enforcement/ScreenshotThumbnailSuppressing.h"

namespace vesk {

// Thumbnail suppression that leaves the screenshot preference alone.
class NoOpScreenshotThumbnailSuppressionService final : public ScreenshotThumbnailSuppressing,
                                                        public EmergencyRestoring {
public:
    void activate() override {}
    void deactivate() override {}
    void emergencyRestore() override {}
};

} // namespace vesk
