#pragma once

#include "logging/VeskLogger.h"
#include "platform/FrameworkUpdater.h"
#include "update/SoftwareUpdateControlling.h"
#include "update/SoftwareUpdateEntry.h"
#include "update/SoftwareUpdateViewModel.h"
#include "update/VeskUpdaterDriver.h"

#include <functional>
#include <memory>

namespace vesk {

// The application's one entry to the updater: owns the panel's model, the user
// driver and the updater, starts the updater once and publishes whether a
// check may start now.
class SoftwareUpdateService final : public SoftwareUpdateControlling, public SoftwareUpdateEntry {
public:
    using UpdaterFactory = std::function<std::unique_ptr<platform::FrameworkUpdater>(platform::UpdateUserDriver&)>;

    // Never fails: an updater that does not start is logged and the service
    // stays usable.
    explicit SoftwareUpdateService(const UpdaterFactory& makeUpdater);
    ~SoftwareUpdateService() override;

    bool canCheckForUpdates() const override { return canCheckForUpdates_; }
    void setCanCheckForUpdatesChangedHandler(std::function<void(bool)> handler) override;
    void checkForUpdates() override;
    void setAutomaticallyChecksForUpdates(bool checks) override;
    void setAutomaticallyDownloadsUpdates(bool downloads) override;

    bool isUpdateWaiting() const override { return viewModel_->isUpdateWaiting(); }
    void setUpdateWaitingChangedHandler(std::function<void(bool)> handler) override;

    SoftwareUpdateViewModel& viewModel() { return *viewModel_; }
    VeskUpdaterDriver& driver() { return *driver_; }
    platform::FrameworkUpdater& updater() { return *updater_; }

private:
    void start();

    bool canCheckForUpdates_ = false;
    std::function<void(bool)> canCheckChanged_;
    std::function<void(bool)> updateWaitingChanged_;
    bool wasUpdateWaiting_ = false;
    std::unique_ptr<SoftwareUpdateViewModel> viewModel_;
    VeskLogger logger_;
    std::unique_ptr<VeskUpdaterDriver> driver_;
    std::unique_ptr<platform::FrameworkUpdater> updater_;
};

} // namespace vesk
