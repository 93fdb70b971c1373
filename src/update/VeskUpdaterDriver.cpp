#include "update/VeskUpdaterDriver.h"

#include "core/TextFormat.h"

#include <utility>

namespace vesk {

namespace {

using platform::UserUpdateChoice;

// Calls a held block once and empties it first, so that a block that reaches
// back into the driver finds it empty.
template <typename Block, typename... Args>
void callAndEmpty(Block& block, Args... args)
{
    if (Block taken = std::exchange(block, nullptr))
        taken(args...);
}

} // namespace

VeskUpdaterDriver::VeskUpdaterDriver(SoftwareUpdateViewModel& viewModel) : viewModel_(viewModel)
{
}

void VeskUpdaterDriver::installUpdate()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("User chose to install the available update"));
    callAndEmpty(updateFoundReply_, UserUpdateChoice::install);
}

void VeskUpdaterDriver::installAndRelaunch()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("User chose to install & relaunch"));
    callAndEmpty(installReply_, UserUpdateChoice::install);
}

void VeskUpdaterDriver::dismissUpdateFlow()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("User dismissed the update flow"));
    callAndEmpty(updateFoundReply_, UserUpdateChoice::dismiss);
    callAndEmpty(installReply_, UserUpdateChoice::dismiss);
    callAndEmpty(checkCancellation_);
    callAndEmpty(downloadCancellation_);
    callAndEmpty(acknowledgement_);
    viewModel_.updateDialogDismissed();
}

void VeskUpdaterDriver::showUpdatePermissionRequest(std::function<void(platform::UpdatePermissionResponse)> reply)
{
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Update permission requested — auto-granting (handled in Settings)"));
    reply(platform::UpdatePermissionResponse{true, false});
}

void VeskUpdaterDriver::showUserInitiatedUpdateCheck(Action cancellation)
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("User-initiated update check shown"));
    checkCancellation_ = std::move(cancellation);
    viewModel_.checkStarted();
}

void VeskUpdaterDriver::showUpdateFound(const platform::UpdateFeedItem& item, platform::UserUpdateState state,
                                        Reply reply)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update found — version=%1, display=%2")
                                        .arg(item.versionString, item.displayVersionString));
    updateFoundReply_ = std::move(reply);
    checkCancellation_ = nullptr;
    const SoftwareUpdateViewModel::UpdateInfo info{item.displayVersionString, item.versionString, item.contentLength,
                                                   item.itemDescription};
    if (state.stage == platform::UserUpdateState::Stage::installing) {
        installReply_ = std::exchange(updateFoundReply_, nullptr);
        viewModel_.readyToInstall();
    } else {
        viewModel_.updateFound(info);
    }
}

void VeskUpdaterDriver::showUpdateReleaseNotes(const QByteArray&)
{
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Release notes download received (ignored — using update feed description)"));
}

void VeskUpdaterDriver::showUpdateReleaseNotesFailedToDownload(const QString& errorDescription)
{
    logger_.log(VeskLogLevel::warning, QStringLiteral("Release notes failed to download — ") + errorDescription);
}

void VeskUpdaterDriver::showUpdateNotFound(const QString& errorDescription, Action acknowledgement)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("No update found — ") + errorDescription);
    acknowledgement_ = std::move(acknowledgement);
    checkCancellation_ = nullptr;
    viewModel_.noUpdateFound();
}

void VeskUpdaterDriver::showUpdaterError(const QString& errorDescription, Action acknowledgement)
{
    logger_.log(VeskLogLevel::error, QStringLiteral("Updater error — ") + errorDescription);
    acknowledgement_ = std::move(acknowledgement);
    viewModel_.updateFailed(errorDescription);
}

void VeskUpdaterDriver::showDownloadInitiated(Action cancellation)
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Download initiated"));
    downloadCancellation_ = std::move(cancellation);
    viewModel_.downloadStarted(0);
}

void VeskUpdaterDriver::showDownloadDidReceiveExpectedContentLength(std::uint64_t expectedContentLength)
{
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Download expected content length — %1").arg(expectedContentLength));
    viewModel_.downloadStarted(expectedContentLength);
}

void VeskUpdaterDriver::showDownloadDidReceiveDataOfLength(std::uint64_t length)
{
    viewModel_.downloadProgressed(length);
}

void VeskUpdaterDriver::showDownloadDidStartExtractingUpdate()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Extraction started"));
    downloadCancellation_ = nullptr;
    viewModel_.extractionStarted();
}

void VeskUpdaterDriver::showExtractionReceivedProgress(double fraction)
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Extraction progress — %1").arg(fraction));
}

void VeskUpdaterDriver::showReadyToInstallAndRelaunch(Reply reply)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Ready to install & relaunch"));
    installReply_ = std::move(reply);
    viewModel_.readyToInstall();
}

void VeskUpdaterDriver::showInstallingUpdate(bool applicationTerminated, Action)
{
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Installing update — applicationTerminated=") + boolText(applicationTerminated));
}

void VeskUpdaterDriver::showUpdateInstalledAndRelaunched(bool relaunched, Action acknowledgement)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update installed and relaunched=") + boolText(relaunched));
    if (acknowledgement)
        acknowledgement();
}

void VeskUpdaterDriver::showUpdateInFocus()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Bring update dialog to focus"));
    viewModel_.setPresented(true);
}

void VeskUpdaterDriver::dismissUpdateInstallation()
{
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("the update framework requested dismissal of the update installation"));
    updateFoundReply_ = nullptr;
    installReply_ = nullptr;
    checkCancellation_ = nullptr;
    downloadCancellation_ = nullptr;
    acknowledgement_ = nullptr;
    viewModel_.updateDialogDismissed();
}

} // namespace vesk
