#include "platform/x11/X11DiagnosticPayloads.h"

namespace vesk::platform {

void X11DiagnosticPayloads::subscribeToDiagnosticPayloads(DiagnosticSubscriber subscriber)
{
    if (!subscriber || reported_)
        return;
    reported_ = true;
    logger_.log(VeskLogLevel::info, QStringLiteral("No diagnostic payloads on X11 — the subscriber receives none"));
}

} // namespace vesk::platform
