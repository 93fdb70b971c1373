#pragma once

#include "store/FocusSession.h"
#include "store/ModelContext.h"

namespace vesk {

// The history's query: every session that is no longer running, the one that
// started last first. The records are the context's own, so a change saved
// through the context shows in them.
FetchDescriptor<FocusSession> finishedSessionsNewestFirst();

inline StoreResult<std::vector<std::shared_ptr<FocusSession>>> fetchFinishedSessions(ModelContext& context)
{
    return context.fetch(finishedSessionsNewestFirst());
}

} // namespace vesk
