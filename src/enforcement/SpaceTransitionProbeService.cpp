#include "enforcement/SpaceTransitionProbeService.h"

#include "core/Clock.h"
#include "core/TextFormat.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "overlay/WindowSnapshotReader.h"
#include "platform/RunningApplication.h"
#include "platform/Workspace.h"

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

const QString prefix = QStringLiteral("[SpaceTransitionProbeService] ");

QString sortedListText(const std::set<QString>& ids)
{
    return arrayText(QStringList(ids.begin(), ids.end()));
}

} // namespace

SpaceTransitionProbeService::Providers
SpaceTransitionProbeService::defaultProviders(const WindowSnapshotReader& snapshots,
                                              const platform::ScreenProviding& screens,
                                              const platform::Workspace& workspace, const Clock& clock)
{
    return Providers{
        .onScreenWindowSnapshots = [&snapshots] { return snapshots.copyOnScreenWindowSnapshots(); },
        .displayGeometry = [&screens] { return DisplayGeometry::current(screens); },
        .frontmostBundleID = [&workspace]() -> std::optional<QString> {
            const auto frontmost = workspace.frontmostApplication();
            return frontmost ? frontmost->bundleIdentifier() : std::nullopt;
        },
        .now = [&clock] { return clock.now(); },
    };
}

SpaceTransitionProbeService::SpaceTransitionProbeService(Scheduler& scheduler, double interval, Providers providers)
    : scheduler_(scheduler)
    , interval_(interval)
    , providers_(std::move(providers))
{
}

SpaceTransitionProbeService::~SpaceTransitionProbeService()
{
    deactivate();
}

void SpaceTransitionProbeService::activate(const std::set<QString>& allowedBundleIDs)
{
    if (isActive_) {
        logger_.log(VeskLogLevel::warning, prefix + QStringLiteral("activate called while already active"));
        allowedBundleIDs_ = allowedBundleIDs;
        return;
    }
    allowedBundleIDs_ = allowedBundleIDs;
    sampleIndex_ = 0;
    isActive_ = true;
    logger_.log(VeskLogLevel::info,
                prefix + QStringLiteral("activated — allowed=") + sortedListText(allowedBundleIDs_));
}

void SpaceTransitionProbeService::updateAllowedBundleIDs(const std::set<QString>& allowedBundleIDs)
{
    if (!isActive_)
        return;
    allowedBundleIDs_ = allowedBundleIDs;
    logger_.log(VeskLogLevel::debug,
                prefix + QStringLiteral("allowed bundle IDs updated — allowed=") + sortedListText(allowedBundleIDs_));
}

void SpaceTransitionProbeService::startBurst(const QString& reason, double durationSeconds)
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::debug, prefix + QStringLiteral("burst ignored while inactive — reason=") + reason);
        return;
    }
    activeReason_ = reason;
    const qint64 durationMilliseconds = std::llround(std::max(durationSeconds, 0.0) * 1000);
    burstEndsAt_ = providers_.now().addMSecs(durationMilliseconds);
    sampleIndex_ = 0;
    logger_.log(VeskLogLevel::info,
                prefix
                    + QStringLiteral("burst started — reason=%1, duration=%2s, allowed=%3")
                          .arg(reason, QString::asprintf("%.1f", durationSeconds), sortedListText(allowedBundleIDs_)));
    sample(reason);
    if (!timer_) {
        timer_ = std::make_unique<MainQueueTimer>(scheduler_, interval_, [this] { tick(); });
        timer_->start();
    }
}

void SpaceTransitionProbeService::deactivate()
{
    if (!isActive_ && !timer_)
        return;
    timer_.reset();
    burstEndsAt_.reset();
    activeReason_.reset();
    sampleIndex_ = 0;
    allowedBundleIDs_.clear();
    isActive_ = false;
    logger_.log(VeskLogLevel::info, prefix + QStringLiteral("deactivated"));
}

void SpaceTransitionProbeService::tick()
{
    if (!isActive_ || !burstEndsAt_ || !activeReason_) {
        stopBurst();
        return;
    }
    if (providers_.now() <= *burstEndsAt_) {
        sample(*activeReason_);
        return;
    }
    logger_.log(VeskLogLevel::info, prefix
                                        + QStringLiteral("burst ended — reason=%1, samples=%2")
                                              .arg(*activeReason_, QString::number(sampleIndex_)));
    stopBurst();
}

void SpaceTransitionProbeService::stopBurst()
{
    timer_.reset();
    burstEndsAt_.reset();
    activeReason_.reset();
    sampleIndex_ = 0;
}

void SpaceTransitionProbeService::sample(const QString& reason)
{
    ++sampleIndex_;
    const std::vector<AllowedWindowSnapshot> snapshots = providers_.onScreenWindowSnapshots();
    const std::optional<DisplayGeometry> geometry = providers_.displayGeometry();
    QStringList entries;
    for (const QString& bundleID : allowedBundleIDs_)
        entries.append(allowedOnScreenEntry(bundleID, snapshots, geometry));
    logger_.log(VeskLogLevel::info,
                prefix
                    + QStringLiteral("sample — reason=%1, sample=%2, frontmost=%3, allowedOnScreen=[%4]")
                          .arg(reason, QString::number(sampleIndex_),
                               providers_.frontmostBundleID().value_or(QStringLiteral("nil")),
                               entries.join(QStringLiteral("; "))));
}

QString SpaceTransitionProbeService::allowedOnScreenEntry(const QString& bundleID,
                                                          const std::vector<AllowedWindowSnapshot>& snapshots,
                                                          const std::optional<DisplayGeometry>& geometry) const
{
    const auto windows = AllowedWindowSpaceClassification::countableWindows(snapshots, bundleID, geometry);
    std::vector<quint32> numbers;
    for (const AllowedWindowSnapshot& window : windows) {
        if (window.windowID)
            numbers.push_back(*window.windowID);
    }
    std::sort(numbers.begin(), numbers.end());
    QStringList ids;
    for (quint32 number : numbers)
        ids.append(QString::number(number));
    return QStringLiteral("%1{count=%2,ids=[%3]}")
        .arg(bundleID, QString::number(windows.size()), ids.join(QLatin1Char(',')));
}

} // namespace vesk
