#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

namespace vesk {

// Captures every display into one image file.
class SessionScreenshotCapturing {
public:
    struct Result {
        // The saved file, none on failure.
        std::optional<QString> filePath;
        // Why it failed; empty on success.
        QString errorDescription;
    };

    virtual ~SessionScreenshotCapturing() = default;
    // Runs synchronously on the calling thread; `date` names the file.
    virtual Result captureAndSave(const QDateTime& date) = 0;
};

} // namespace vesk
