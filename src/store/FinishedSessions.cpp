#include "store/FinishedSessions.h"

namespace vesk {

FetchDescriptor<FocusSession> finishedSessionsNewestFirst()
{
    return {
        .predicate = [](const FocusSession& session) { return !session.isActive; },
        .sortBefore = [](const FocusSession& a, const FocusSession& b) { return a.startedAt > b.startedAt; },
    };
}

} // namespace vesk
