#pragma once

#include "store/SessionEndReason.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <optional>

namespace vesk {

// What the reflection card asks about after a session.
struct SessionReflectionPrompt {
    // The stored session record's identifier.
    QUuid id;
    QDateTime startedAt;
    QDateTime endedAt;
    // The planned duration; 0 for an open-ended session.
    int durationSeconds = 0;
    SessionEndReason endReason = SessionEndReason::crash;
    std::optional<QString> goalText;

    bool operator==(const SessionReflectionPrompt&) const = default;
};

} // namespace vesk
