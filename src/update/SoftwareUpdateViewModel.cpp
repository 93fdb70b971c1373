#include "update/SoftwareUpdateViewModel.h"

#include <algorithm>

namespace vesk {

namespace {

// Stores `value` in `field` and emits `changed` only when it differs.
template <typename T, typename Signal>
void assign(SoftwareUpdateViewModel* model, T& field, const T& value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    emit(model->*changed)();
}

} // namespace

SoftwareUpdateViewModel::SoftwareUpdateViewModel() = default;

bool SoftwareUpdateViewModel::isUpdateWaiting() const
{
    return phase_ == Phase::available || phase_ == Phase::downloading || phase_ == Phase::ready;
}

void SoftwareUpdateViewModel::setPhase(Phase phase)
{
    assign(this, phase_, phase, &SoftwareUpdateViewModel::phaseChanged);
}

void SoftwareUpdateViewModel::setPresented(bool presented)
{
    assign(this, isPresented_, presented, &SoftwareUpdateViewModel::isPresentedChanged);
}

void SoftwareUpdateViewModel::setProgress(double progress)
{
    assign(this, progress_, progress, &SoftwareUpdateViewModel::progressChanged);
}

void SoftwareUpdateViewModel::setDownloadedBytes(std::uint64_t bytes)
{
    assign(this, downloadedBytes_, bytes, &SoftwareUpdateViewModel::downloadedBytesChanged);
}

void SoftwareUpdateViewModel::setUpdateInfo(const std::optional<UpdateInfo>& info)
{
    assign(this, updateInfo_, info, &SoftwareUpdateViewModel::updateInfoChanged);
}

void SoftwareUpdateViewModel::setErrorMessage(const std::optional<QString>& message)
{
    assign(this, errorMessage_, message, &SoftwareUpdateViewModel::errorMessageChanged);
}

void SoftwareUpdateViewModel::setExpectedContentLength(std::uint64_t length)
{
    assign(this, expectedContentLength_, length, &SoftwareUpdateViewModel::expectedContentLengthChanged);
}

void SoftwareUpdateViewModel::checkStarted()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update check started (user-initiated)"));
    setPhase(Phase::checking);
    setProgress(0);
    setDownloadedBytes(0);
    setErrorMessage(std::nullopt);
    setPresented(true);
}

void SoftwareUpdateViewModel::updateFound(const UpdateInfo& info)
{
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Update available — version=%1, bytes=%2").arg(info.version).arg(info.contentLength));
    setUpdateInfo(info);
    setExpectedContentLength(info.contentLength);
    setProgress(0);
    setDownloadedBytes(0);
    setPhase(Phase::available);
    setPresented(true);
}

void SoftwareUpdateViewModel::noUpdateFound()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("No update available — up to date"));
    setPhase(Phase::upToDate);
    setPresented(true);
}

void SoftwareUpdateViewModel::updateFailed(const QString& message)
{
    logger_.log(VeskLogLevel::error, QStringLiteral("Update error — ") + message);
    setErrorMessage(message);
    setPhase(Phase::error);
    setPresented(true);
}

void SoftwareUpdateViewModel::downloadStarted(std::uint64_t expectedBytes)
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update download started — expectedBytes=%1").arg(expectedBytes));
    if (expectedBytes != 0)
        setExpectedContentLength(expectedBytes);
    setDownloadedBytes(0);
    setProgress(0);
    setPhase(Phase::downloading);
}

void SoftwareUpdateViewModel::downloadProgressed(std::uint64_t receivedBytes)
{
    setDownloadedBytes(downloadedBytes_ + receivedBytes);
    if (expectedContentLength_ != 0)
        setProgress(std::min(static_cast<double>(downloadedBytes_) / static_cast<double>(expectedContentLength_), 1.0));
    setPhase(Phase::downloading);
}

void SoftwareUpdateViewModel::extractionStarted()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update extracting"));
    setProgress(1.0);
    setPhase(Phase::downloading);
}

void SoftwareUpdateViewModel::readyToInstall()
{
    logger_.log(VeskLogLevel::info, QStringLiteral("Update ready to install"));
    setProgress(1.0);
    setPhase(Phase::ready);
    setPresented(true);
}

void SoftwareUpdateViewModel::updateDialogDismissed()
{
    logger_.log(VeskLogLevel::debug, QStringLiteral("Update dialog dismissed"));
    setPresented(false);
    setPhase(Phase::idle);
    setProgress(0);
    setDownloadedBytes(0);
    setUpdateInfo(std::nullopt);
    setErrorMessage(std::nullopt);
}

} // namespace vesk
