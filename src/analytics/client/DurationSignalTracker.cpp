#include "analytics/client/DurationSignalTracker.h"

#include "core/Clock.h"
#include "platform/ApplicationActivity.h"

#include <algorithm>

namespace vesk::telemetry {

DurationSignalTracker::DurationSignalTracker(Clock& clock, platform::ApplicationActivity& applicationActivity,
                                             QObject* parent)
    : QObject(parent)
    , clock_(clock)
{
    connect(&applicationActivity, &platform::ApplicationActivity::didResignActive, this,
            &DurationSignalTracker::handleDidEnterBackgroundNotification);
    connect(&applicationActivity, &platform::ApplicationActivity::didBecomeActive, this,
            &DurationSignalTracker::handleWillEnterForegroundNotification);
}

void DurationSignalTracker::startTracking(const QString& signalName, const SignalParameters& parameters,
                                          bool includeBackgroundTime)
{
    startedSignals_[signalName] = CachedData{clock_.now(), parameters, includeBackgroundTime};
}

std::optional<std::pair<double, SignalParameters>> DurationSignalTracker::stopTracking(const QString& signalName)
{
    const auto entry = startedSignals_.find(signalName);
    if (entry == startedSignals_.end())
        return std::nullopt;
    CachedData data = std::move(entry->second);
    startedSignals_.erase(entry);
    const double elapsed = std::max(0.0, data.startTime.msecsTo(clock_.now()) / 1000.0);
    return std::make_pair(elapsed, std::move(data.parameters));
}

void DurationSignalTracker::handleDidEnterBackgroundNotification()
{
    lastEnteredBackground_ = clock_.now();
}

// Moves each measurement that leaves out inactive time forward by the part of
// the inactive period that followed its start: one started while inactive
// counts from now, so it never comes out negative.
void DurationSignalTracker::handleWillEnterForegroundNotification()
{
    if (!lastEnteredBackground_)
        return;
    const QDateTime now = clock_.now();
    for (auto& [name, data] : startedSignals_) {
        if (data.includeBackgroundTime)
            continue;
        const QDateTime inactiveSince = std::max(*lastEnteredBackground_, data.startTime);
        if (inactiveSince < now)
            data.startTime = data.startTime.addMSecs(inactiveSince.msecsTo(now));
    }
    lastEnteredBackground_.reset();
}

} // namespace vesk::telemetry
