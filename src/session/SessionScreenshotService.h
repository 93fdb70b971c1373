#pragma once

#include "logging/VeskLogger.h"
#include "session/SessionScreenshotCapturing.h"
#include "session/SessionScreenshotDirectoryProviding.h"
#include "session/SessionScreenshotImageCapturing.h"

#include <memory>

namespace vesk {

// Saves a picture of every display to the Desktop as
// "vesk-screenshot-<local time>.png", on the calling thread: the folder is
// asked for first, then the displays are captured, encoded as PNG and written
// whole (a request in the same second replaces the earlier file).
class SessionScreenshotService final : public SessionScreenshotCapturing {
public:
    SessionScreenshotService(std::unique_ptr<SessionScreenshotImageCapturing> imageCapturer,
                             std::unique_ptr<SessionScreenshotDirectoryProviding> directoryProvider);

    Result captureAndSave(const QDateTime& date) override;

    // "vesk-screenshot-2026-03-08_14-03-09.png" for that local time; the time
    // zone is the one current when the first name was made.
    static QString fileName(const QDateTime& date);

private:
    std::unique_ptr<SessionScreenshotImageCapturing> imageCapturer_;
    std::unique_ptr<SessionScreenshotDirectoryProviding> directoryProvider_;
    VeskLogger logger_{QStringLiteral("SessionScreenshotService")};
};

} // namespace vesk
