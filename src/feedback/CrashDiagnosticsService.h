#pragma once

#include "feedback/CrashDiagnostic.h"
#include "feedback/DiagnosticPayloadSubscribing.h"
#include "logging/VeskLogger.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk {

class BugReportSending;
class Clock;
class Scheduler;

namespace platform {
class ScreenProviding;
}

// Turns each delivered payload with crashes or hangs into an automatic bug
// report with the payload's JSON as a gzip attachment, while the user allows
// analytics (asked when forwarding, not when delivered). Nothing is kept,
// queued or retried: a dropped or failed report is gone.
class CrashDiagnosticsService final : public DiagnosticPayloadSubscribing,
                                      public std::enable_shared_from_this<CrashDiagnosticsService> {
public:
    struct Environment {
        Scheduler& mainQueue;
        const Clock& clock;
        const platform::ScreenProviding& screens;
        // Where the attachments wait for their send.
        QString temporaryFolder;
    };

    CrashDiagnosticsService(std::shared_ptr<BugReportSending> sender, std::function<bool()> isEnabled,
                            Environment environment);

    // On the system's thread: counts there, forwards on the main queue.
    void didReceive(const std::vector<QByteArray>& payloads) override;

    // Main thread.
    void forward(const std::vector<CrashDiagnostic>& diagnostics);

private:
    void sendReport(const CrashDiagnostic& diagnostic);
    std::optional<QString> makeAttachment(const QByteArray& json);

    std::shared_ptr<BugReportSending> sender_;
    std::function<bool()> isEnabled_;
    Environment environment_;
    VeskLogger logger_{QStringLiteral("CrashDiagnosticsService")};
};

} // namespace vesk
