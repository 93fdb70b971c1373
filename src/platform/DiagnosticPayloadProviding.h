#pragma once

#include <QByteArray>

#include <functional>
#include <vector>

namespace vesk::platform {

// Receives diagnostic payloads (JSON documents with crash and hang
// diagnostics of earlier runs) on a system thread, never on the main thread.
using DiagnosticSubscriber = std::function<void(const std::vector<QByteArray>& payloads)>;

// The system's diagnostic payloads about earlier runs.
class DiagnosticPayloadProviding {
public:
    virtual ~DiagnosticPayloadProviding() = default;
    // Payloads held until a subscriber registers arrive in one call; later
    // ones as they come. An empty subscriber unsubscribes.
    virtual void subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber) = 0;
};

} // namespace vesk::platform
