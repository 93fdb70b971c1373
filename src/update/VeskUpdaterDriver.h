#pragma once

#include "logging/VeskLogger.h"
#include "platform/UpdateUserDriver.h"
#include "update/SoftwareUpdateViewModel.h"

namespace vesk {

// Vesk's user driver: turns each step the updater reports into a change of
// the update panel's model and holds the updater's replies and cancellations
// until the user acts in the panel.
class VeskUpdaterDriver final : public platform::UpdateUserDriver {
public:
    explicit VeskUpdaterDriver(SoftwareUpdateViewModel& viewModel);

    // The user's choices.
    void installUpdate();
    void installAndRelaunch();
    // Serves every kind of closing: answers a pending question with dismiss,
    // cancels a running check or download and acknowledges a result.
    void dismissUpdateFlow();

    void showUpdatePermissionRequest(std::function<void(platform::UpdatePermissionResponse)> reply) override;
    void showUserInitiatedUpdateCheck(Action cancellation) override;
    void showUpdateFound(const platform::UpdateFeedItem& item, platform::UserUpdateState state, Reply reply) override;
    void showUpdateReleaseNotes(const QByteArray& downloadData) override;
    void showUpdateReleaseNotesFailedToDownload(const QString& errorDescription) override;
    void showUpdateNotFound(const QString& errorDescription, Action acknowledgement) override;
    void showUpdaterError(const QString& errorDescription, Action acknowledgement) override;
    void showDownloadInitiated(Action cancellation) override;
    void showDownloadDidReceiveExpectedContentLength(std::uint64_t expectedContentLength) override;
    void showDownloadDidReceiveDataOfLength(std::uint64_t length) override;
    void showDownloadDidStartExtractingUpdate() override;
    void showExtractionReceivedProgress(double fraction) override;
    void showReadyToInstallAndRelaunch(Reply reply) override;
    void showInstallingUpdate(bool applicationTerminated, Action retryTerminatingApplication) override;
    void showUpdateInstalledAndRelaunched(bool relaunched, Action acknowledgement) override;
    void showUpdateInFocus() override;
    void dismissUpdateInstallation() override;

private:
    SoftwareUpdateViewModel& viewModel_;
    VeskLogger logger_{QStringLiteral("VeskUpdaterDriver")};
    Reply updateFoundReply_;
    Reply installReply_;
    Action checkCancellation_;
    Action downloadCancellation_;
    Action acknowledgement_;
};

} // namespace vesk
