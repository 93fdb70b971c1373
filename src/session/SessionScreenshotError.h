#pragma once

#include <QString>

namespace vesk {

// Why a session screenshot was not saved, short of a file-system error.
enum class SessionScreenshotError { desktopDirectoryUnavailable, captureFailed, pngEncodingFailed };

// The error's description, as the session records it.
QString errorDescription(SessionScreenshotError error);

} // namespace vesk
