#pragma once

#include "logging/VeskLogger.h"
#include "overlay/OverlayVisibilityDiagnostics.h"

#include <QString>

#include <optional>
#include <set>

namespace vesk {

struct WindowClassification;
struct WindowTransitionUpdate;

// The tick's account of what it sees: the window evaluation and the count of
// visible allowed surfaces, each logged only when it changed, and every
// transition suppression as it starts and ends.
class OverlayTickLog {
public:
    explicit OverlayTickLog(VeskLogger logger);

    void logEvaluation(const WindowClassification& classification, const std::set<QString>& fullyOccluded);
    void logTransitions(const WindowTransitionUpdate& update, double suppressionDuration);
    void logVisibleSurfaceCount(int count);

    // Forgets what was logged, for a new session.
    void reset();

private:
    const VeskLogger logger_;
    std::optional<int> lastAllowedWindowCount_;
    std::optional<OverlayVisibilityDiagnostics> lastVisibilityDiagnostics_;
};

} // namespace vesk
