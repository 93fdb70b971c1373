#pragma once

namespace vesk {

// The short feedback the HUD shows after a screenshot request.
enum class SessionScreenshotFeedback { saved, failed };

} // namespace vesk
