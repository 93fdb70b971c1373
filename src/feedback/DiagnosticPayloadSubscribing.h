#pragma once

#include <QByteArray>

#include <vector>

namespace vesk {

// A subscriber of the system's diagnostic payloads: JSON documents about
// earlier runs of the application (crashes, hangs), delivered at launch.
class DiagnosticPayloadSubscribing {
public:
    virtual ~DiagnosticPayloadSubscribing() = default;
    // Called on a thread of the system's choosing, never the main thread.
    virtual void didReceive(const std::vector<QByteArray>& payloads) = 0;
};

} // namespace vesk
