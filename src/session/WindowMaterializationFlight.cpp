#include "session/WindowMaterializationFlight.h"

#include <QPointer>

namespace vesk {

WindowMaterializationFlight::WindowMaterializationFlight(const SessionServices& services, const SessionState& state,
                                                         const AllowedAppLookup& lookup, Scheduler& scheduler)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , scheduler_(scheduler)
{
}

WindowMaterializationOutcome WindowMaterializationFlight::materialize(const QString& bundleID, const QString& reason)
{
    if (!state_.isSessionActive || !state_.dynamicAllowlist.contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral(
                        "Window materialization skipped — inactive or no longer allowed, bundleID=%1, reason=%2")
                        .arg(bundleID, reason));
        return WindowMaterializationOutcome::failed(QStringLiteral("inactive or no longer allowed"));
    }
    if (timeouts_.contains(bundleID)) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Window materialization skipped — already in flight, bundleID=%1, "
                                   "reason=%2")
                        .arg(bundleID, reason));
        return WindowMaterializationOutcome::requested();
    }
    const WindowMaterializationOutcome outcome =
        services_.windowMaterializer->materialize(bundleID, lookup_.applicationURL(bundleID), reason);
    if (outcome.kind != WindowMaterializationOutcome::Kind::requested) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Window materialization unavailable — bundleID=%1, reason=%2, outcome=%3")
                        .arg(bundleID, reason, outcome.text()));
        return outcome;
    }
    cancel(bundleID);
    const QPointer<WindowMaterializationFlight> self(this);
    timeouts_[bundleID] = scheduler_.asyncAfter(kTimeout, [self, bundleID, reason] {
        if (!self)
            return;
        self->timeouts_.erase(bundleID);
        self->logger_.log(VeskLogLevel::warning,
                          QStringLiteral(
                              "Window materialization flight timed out — bundleID=%1, reason=%2, timeout=4.0s")
                              .arg(bundleID, reason));
    });
    return outcome;
}

void WindowMaterializationFlight::settle(const QString& bundleID, const QString& reason)
{
    if (!timeouts_.contains(bundleID))
        return;
    cancel(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Window materialization flight settled — bundleID=%1, reason=%2").arg(bundleID, reason));
}

void WindowMaterializationFlight::cancel(const QString& bundleID)
{
    const auto it = timeouts_.find(bundleID);
    if (it == timeouts_.end())
        return;
    it->second.cancel();
    timeouts_.erase(it);
}

void WindowMaterializationFlight::cancelAll()
{
    for (auto& [bundleID, item] : timeouts_)
        item.cancel();
    timeouts_.clear();
}

} // namespace vesk
