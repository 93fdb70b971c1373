#pragma once

#include "session/SessionTimerCreating.h"

#include <QString>

namespace vesk {

// Each timer runs on a serial queue of its own, "com.vesk.session-timer".
class SerialQueueSessionTimerFactory final : public SessionTimerCreating {
public:
    static inline const QString queueLabel = QStringLiteral("com.vesk.session-timer");

    std::unique_ptr<SessionTimerControlling> makeTimer(double intervalSeconds, std::function<void()> handler) override;
};

} // namespace vesk
