#pragma once

#include "logging/VeskLogger.h"
#include "platform/DiagnosticPayloadProviding.h"

namespace vesk::platform {

// An X11 desktop keeps no diagnostic reports of earlier runs for an
// application to collect: a subscriber never receives a payload. Said once.
class X11DiagnosticPayloads final : public DiagnosticPayloadProviding {
public:
    void subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber) override;

private:
    bool reported_ = false;
    VeskLogger logger_{QStringLiteral("X11DiagnosticPayloads")};
};

} // namespace vesk::platform
