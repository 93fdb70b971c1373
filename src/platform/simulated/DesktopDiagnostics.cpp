#include "platform/simulated/DesktopDiagnostics.h"

#include "platform/simulated/DesktopWorkspace.h"

namespace vesk::platform {

void DesktopDiagnostics::subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber)
{
    subscriber_ = std::move(subscriber);
    if (subscriber_ && !pending_.empty()) {
        std::vector<QByteArray> payloads;
        payloads.swap(pending_);
        deliverDiagnosticPayloads(payloads);
    }
}

void DesktopDiagnostics::deliverDiagnosticPayloads(const std::vector<QByteArray>& payloads)
{
    if (payloads.empty())
        return;
    if (!subscriber_) {
        pending_.insert(pending_.end(), payloads.begin(), payloads.end());
        return;
    }
    workspace_.runOnSystemThread([subscriber = subscriber_, payloads] { subscriber(payloads); });
}

} // namespace vesk::platform
