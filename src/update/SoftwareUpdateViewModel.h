#pragma once

#include "logging/VeskLogger.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <optional>

namespace vesk {

// The observable state of the update panel. The user driver moves it through
// the phases of an update flow; the panel draws it. Every setter notifies only
// when the value changes.
class SoftwareUpdateViewModel final : public QObject {
    Q_OBJECT

public:
    enum class Phase { idle, checking, available, downloading, ready, upToDate, error };

    struct UpdateInfo {
        QString displayVersion;
        QString version;
        std::uint64_t contentLength = 0;
        std::optional<QString> releaseNotesHTML;

        bool operator==(const UpdateInfo&) const = default;
    };

    SoftwareUpdateViewModel();

    Phase phase() const { return phase_; }
    double progress() const { return progress_; }
    std::uint64_t downloadedBytes() const { return downloadedBytes_; }
    const std::optional<UpdateInfo>& updateInfo() const { return updateInfo_; }
    const std::optional<QString>& errorMessage() const { return errorMessage_; }
    bool isPresented() const { return isPresented_; }
    std::uint64_t expectedContentLength() const { return expectedContentLength_; }
    // An update is offered, downloading or ready to install.
    bool isUpdateWaiting() const;

    // The two fields the panel's host may write.
    void setPhase(Phase phase);
    void setPresented(bool presented);

    void checkStarted();
    void updateFound(const UpdateInfo& info);
    void noUpdateFound();
    void updateFailed(const QString& message);
    void downloadStarted(std::uint64_t expectedBytes);
    void downloadProgressed(std::uint64_t receivedBytes);
    void extractionStarted();
    void readyToInstall();
    void updateDialogDismissed();

signals:
    void phaseChanged();
    void progressChanged();
    void downloadedBytesChanged();
    void updateInfoChanged();
    void errorMessageChanged();
    void isPresentedChanged();
    void expectedContentLengthChanged();

private:
    void setProgress(double progress);
    void setDownloadedBytes(std::uint64_t bytes);
    void setUpdateInfo(const std::optional<UpdateInfo>& info);
    void setErrorMessage(const std::optional<QString>& message);
    void setExpectedContentLength(std::uint64_t length);

    Phase phase_ = Phase::idle;
    double progress_ = 0;
    std::uint64_t downloadedBytes_ = 0;
    std::optional<UpdateInfo> updateInfo_;
    std::optional<QString> errorMessage_;
    bool isPresented_ = false;
    std::uint64_t expectedContentLength_ = 0;
    VeskLogger logger_{QStringLiteral("SoftwareUpdateViewModel")};
};

} // namespace vesk
