#pragma once

#include <functional>

namespace vesk {

// The software update as the setup screen's version row reaches it: the
// check the row's button starts, and whether an update is waiting (offered,
// downloading or ready to install), which the row shows with its dot and the
// tooltip "Update verfügbar". The update service implements it; the
// application hands the row these as plain functions, since the setup screen
// sits below the update library.
class SoftwareUpdateEntry {
public:
    virtual ~SoftwareUpdateEntry() = default;

    // A check the user asked for; the update panel shows its progress.
    virtual void checkForUpdates() = 0;
    virtual bool isUpdateWaiting() const = 0;
    // Called with the new value each time `isUpdateWaiting` changes; an empty
    // function clears it.
    virtual void setUpdateWaitingChangedHandler(std::function<void(bool)> handler) = 0;
};

} // namespace vesk
