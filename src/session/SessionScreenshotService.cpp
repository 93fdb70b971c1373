#include "session/SessionScreenshotService.h"

#include "core/FileIO.h"
#include "session/SessionScreenshotError.h"

#include <QBuffer>
#include <QDir>
#include <QLocale>
#include <QTimeZone>

namespace vesk {

namespace {

SessionScreenshotCapturing::Result failure(SessionScreenshotError error)
{
    return {std::nullopt, errorDescription(error)};
}

QByteArray pngData(const QImage& image)
{
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return QByteArray();
    return data;
}

} // namespace

SessionScreenshotService::SessionScreenshotService(
    std::unique_ptr<SessionScreenshotImageCapturing> imageCapturer,
    std::unique_ptr<SessionScreenshotDirectoryProviding> directoryProvider)
    : imageCapturer_(std::move(imageCapturer))
    , directoryProvider_(std::move(directoryProvider))
{
}

QString SessionScreenshotService::fileName(const QDateTime& date)
{
    static const QTimeZone zoneOfFirstUse = QTimeZone::systemTimeZone();
    return QStringLiteral("vesk-screenshot-")
           + QLocale::c().toString(date.toTimeZone(zoneOfFirstUse), QStringLiteral("yyyy-MM-dd_HH-mm-ss"))
           + QStringLiteral(".png");
}

SessionScreenshotCapturing::Result SessionScreenshotService::captureAndSave(const QDateTime& date)
{
    const std::optional<QString> desktop = directoryProvider_->desktopDirectory();
    if (!desktop) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to save screenshot — Desktop directory unavailable"));
        return failure(SessionScreenshotError::desktopDirectoryUnavailable);
    }
    const QImage image = imageCapturer_->captureImage();
    if (image.isNull()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to capture screenshot image"));
        return failure(SessionScreenshotError::captureFailed);
    }
    const QString path = QDir(*desktop).filePath(fileName(date));
    const QByteArray png = pngData(image);
    if (png.isEmpty()) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to encode screenshot image as PNG"));
        return failure(SessionScreenshotError::pngEncodingFailed);
    }
    if (!QDir().mkpath(*desktop))
        return {std::nullopt, QStringLiteral("Could not create the folder %1").arg(*desktop)};
    if (const auto writeError = writeFileAtomically(path, png))
        return {std::nullopt, *writeError};
    logger_.log(VeskLogLevel::info, QStringLiteral("Saved session screenshot to ") + path);
    return {path, QString()};
}

} // namespace vesk
