#pragma once

#include "app/SoftwareUpdateControlling.h"

namespace vesk {

// No updater in this build: checks are never possible and preferences have
// nothing to reach.
class NoOpSoftwareUpdateService final : public SoftwareUpdateControlling {
public:
    bool canCheckForUpdates() const override { return false; }
    void setCanCheckForUpdatesChangedHandler(std::function<void(bool)>) override {}
    void checkForUpdates() override {}
    void setAutomaticallyChecksForUpdates(bool) override {}
    void setAutomaticallyDownloadsUpdates(bool) override {}
};

} // namespace vesk
