#include "session/SessionScreenshotError.h"

namespace vesk {

QString errorDescription(SessionScreenshotError error)
{
    switch (error) {
    case SessionScreenshotError::desktopDirectoryUnavailable:
        return QStringLiteral("Desktop directory unavailable");
    case SessionScreenshotError::captureFailed:
        return QStringLiteral("Failed to capture screenshot");
    case SessionScreenshotError::pngEncodingFailed:
        return QStringLiteral("Failed to encode screenshot as PNG");
    }
    return QString();
}

} // namespace vesk
