#pragma once

#include "feedback/BugReportSending.h"
#include "feedback/DiagnosticPayloadSubscribing.h"

#include <functional>
#include <memory>

namespace vesk {

// Crash diagnostics that forward nothing, until reports can be built and
// sent: every delivered payload is dropped. Holds what the real service
// works with, the sender and the switch that says whether reports may go out.
class NoOpCrashDiagnosticsService final : public DiagnosticPayloadSubscribing {
public:
    NoOpCrashDiagnosticsService(std::shared_ptr<BugReportSending> sender, std::function<bool()> isEnabled);

    void didReceive(const std::vector<QByteArray>& payloads) override;

private:
    std::shared_ptr<BugReportSending> sender_;
    std::function<bool()> isEnabled_;
};

} // namespace vesk
