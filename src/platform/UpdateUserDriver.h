#pragma once

#include "platform/UpdateFeedItem.h"
#include "platform/UpdatePermissionResponse.h"
#include "platform/UserUpdateChoice.h"
#include "platform/UserUpdateState.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

namespace vesk::platform {

// What the updater shows the user: every step of a check, a download and an
// install arrives here on the main thread. Replies and cancellations are
// handed over to be called later, at most once each.
class UpdateUserDriver {
public:
    using Reply = std::function<void(UserUpdateChoice)>;
    using Action = std::function<void()>;

    virtual ~UpdateUserDriver() = default;

    virtual void showUpdatePermissionRequest(std::function<void(UpdatePermissionResponse)> reply) = 0;
    virtual void showUserInitiatedUpdateCheck(Action cancellation) = 0;
    virtual void showUpdateFound(const UpdateFeedItem& item, UserUpdateState state, Reply reply) = 0;
    virtual void showUpdateReleaseNotes(const QByteArray& downloadData) = 0;
    virtual void showUpdateReleaseNotesFailedToDownload(const QString& errorDescription) = 0;
    virtual void showUpdateNotFound(const QString& errorDescription, Action acknowledgement) = 0;
    virtual void showUpdaterError(const QString& errorDescription, Action acknowledgement) = 0;
    virtual void showDownloadInitiated(Action cancellation) = 0;
    virtual void showDownloadDidReceiveExpectedContentLength(std::uint64_t expectedContentLength) = 0;
    virtual void showDownloadDidReceiveDataOfLength(std::uint64_t length) = 0;
    virtual void showDownloadDidStartExtractingUpdate() = 0;
    virtual void showExtractionReceivedProgress(double fraction) = 0;
    virtual void showReadyToInstallAndRelaunch(Reply reply) = 0;
    virtual void showInstallingUpdate(bool applicationTerminated, Action retryTerminatingApplication) = 0;
    virtual void showUpdateInstalledAndRelaunched(bool relaunched, Action acknowledgement) = 0;
    virtual void showUpdateInFocus() = 0;
    virtual void dismissUpdateInstallation() = 0;
};

} // namespace vesk::platform
