#pragma once

#include "platform/DiagnosticPayloadProviding.h"

namespace vesk::platform {

class DesktopWorkspace;

// The simulated desktop's diagnostic payloads: held until a subscriber
// registers, then delivered on the workspace's thread.
class DesktopDiagnostics final : public DiagnosticPayloadProviding {
public:
    explicit DesktopDiagnostics(DesktopWorkspace& workspace) : workspace_(workspace) { }
    void subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber) override;
    void deliverDiagnosticPayloads(const std::vector<QByteArray>& payloads);

private:
    DesktopWorkspace& workspace_;
    std::vector<QByteArray> pending_;
    DiagnosticSubscriber subscriber_;
};

} // namespace vesk::platform
