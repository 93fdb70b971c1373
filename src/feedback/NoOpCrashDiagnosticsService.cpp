#include "feedback/NoOpCrashDiagnosticsService.h"

namespace vesk {

NoOpCrashDiagnosticsService::NoOpCrashDiagnosticsService(std::shared_ptr<BugReportSending> sender,
                                                         std::function<bool()> isEnabled)
    : sender_(std::move(sender))
    , isEnabled_(std::move(isEnabled))
{
}

void NoOpCrashDiagnosticsService::didReceive(const std::vector<QByteArray>&)
{
}

} // namespace vesk
