#pragma once

#include <QString>

#include <functional>
#include <set>

namespace vesk {

// Holds a session start back until an allowed application shows a window.
class AllowedWindowWaiting {
public:
    virtual ~AllowedWindowWaiting() = default;
    // Calls the completion once, on the main thread, when an allowed window is
    // visible or the wait gives up; possibly before this returns. A new wait
    // abandons the previous one, whose completion then never runs.
    virtual void waitForAllowedWindows(const std::set<QString>& allowedBundleIDs, std::function<void()> completion) = 0;
    // Abandons the wait; its completion never runs.
    virtual void cancel() = 0;
};

} // namespace vesk
