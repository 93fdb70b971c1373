#pragma once

#include "platform/UpdateUserDriver.h"

#include <QStringList>

#include <optional>

namespace vesk::test {

// Records every call of the updater as one line ("found 1.2.0", "data 512")
// and keeps the last reply and actions so that a test can answer them.
class RecordingUpdateDriver final : public platform::UpdateUserDriver {
public:
    QStringList calls;
    Reply foundReply;
    Reply installReply;
    Action checkCancellation;
    Action downloadCancellation;
    Action acknowledgement;
    std::optional<platform::UpdateFeedItem> foundItem;
    QString lastError;

    void showUpdatePermissionRequest(std::function<void(platform::UpdatePermissionResponse)>) override
    {
        calls << QStringLiteral("permission");
    }
    void showUserInitiatedUpdateCheck(Action cancellation) override
    {
        calls << QStringLiteral("check");
        checkCancellation = std::move(cancellation);
    }
    void showUpdateFound(const platform::UpdateFeedItem& item, platform::UserUpdateState, Reply reply) override
    {
        calls << QStringLiteral("found ") + item.versionString;
        foundItem = item;
        foundReply = std::move(reply);
    }
    void showUpdateReleaseNotes(const QByteArray&) override { calls << QStringLiteral("notes"); }
    void showUpdateReleaseNotesFailedToDownload(const QString&) override { calls << QStringLiteral("notes failed"); }
    void showUpdateNotFound(const QString& error, Action ack) override
    {
        calls << QStringLiteral("not found");
        lastError = error;
        acknowledgement = std::move(ack);
    }
    void showUpdaterError(const QString& error, Action ack) override
    {
        calls << QStringLiteral("error");
        lastError = error;
        acknowledgement = std::move(ack);
    }
    void showDownloadInitiated(Action cancellation) override
    {
        calls << QStringLiteral("download");
        downloadCancellation = std::move(cancellation);
    }
    void showDownloadDidReceiveExpectedContentLength(std::uint64_t length) override
    {
        calls << QStringLiteral("expected %1").arg(length);
    }
    void showDownloadDidReceiveDataOfLength(std::uint64_t length) override
    {
        receivedBytes += length;
        if (!calls.endsWith(QStringLiteral("data")))
            calls << QStringLiteral("data");
    }
    void showDownloadDidStartExtractingUpdate() override { calls << QStringLiteral("extracting"); }
    void showExtractionReceivedProgress(double) override { }
    void showReadyToInstallAndRelaunch(Reply reply) override
    {
        calls << QStringLiteral("ready");
        installReply = std::move(reply);
    }
    void showInstallingUpdate(bool, Action) override { calls << QStringLiteral("installing"); }
    void showUpdateInstalledAndRelaunched(bool, Action) override { calls << QStringLiteral("installed"); }
    void showUpdateInFocus() override { calls << QStringLiteral("focus"); }
    void dismissUpdateInstallation() override { calls << QStringLiteral("dismissed"); }

    std::uint64_t receivedBytes = 0;
};

} // namespace vesk::test
