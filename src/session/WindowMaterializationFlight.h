#pragma once

#include "core/Scheduler.h"
#include "core/WorkItem.h"
#include "enforcement/WindowMaterializationOutcome.h"
#include "logging/VeskLogger.h"
#include "session/AllowedAppLookup.h"
#include "session/SessionServices.h"
#include "session/SessionState.h"

#include <QObject>
#include <QString>

#include <map>

namespace vesk {

// Asking an allowed application for a window on the current Space. A request
// is in flight until one of its windows shows (settle) or four seconds pass;
// meanwhile a second request for the application asks nothing. Main thread only.
class WindowMaterializationFlight final : public QObject {
public:
    WindowMaterializationFlight(const SessionServices& services, const SessionState& state,
                                const AllowedAppLookup& lookup, Scheduler& scheduler);

    WindowMaterializationOutcome materialize(const QString& bundleID, const QString& reason);
    // A window of the application showed: its flight, if any, is over.
    void settle(const QString& bundleID, const QString& reason);
    void cancel(const QString& bundleID);
    void cancelAll();

private:
    static constexpr double kTimeout = 4.0;

    const SessionServices& services_;
    const SessionState& state_;
    const AllowedAppLookup& lookup_;
    Scheduler& scheduler_;
    VeskLogger logger_{QStringLiteral("SessionManager")};
    std::map<QString, WorkItem> timeouts_;
};

} // namespace vesk
