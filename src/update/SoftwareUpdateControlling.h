#pragma once

#include <functional>

namespace vesk {

// The software update service as the application's menu command and its
// update preferences reach it.
class SoftwareUpdateControlling {
public:
    virtual ~SoftwareUpdateControlling() = default;
    // The menu command "Nach Updates suchen…" is disabled while this is false.
    virtual bool canCheckForUpdates() const = 0;
    // Called with the new value each time `canCheckForUpdates` changes; an
    // empty function clears it.
    virtual void setCanCheckForUpdatesChangedHandler(std::function<void(bool)> handler) = 0;
    // A check the user asked for.
    virtual void checkForUpdates() = 0;
    virtual void setAutomaticallyChecksForUpdates(bool checks) = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool downloads) = 0;
};

} // namespace vesk
