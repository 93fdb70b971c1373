#pragma once

#include "core/MainQueueTimer.h"
#include "enforcement/SpaceTransitionProbing.h"
#include "logging/VeskLogger.h"
#include "overlay/AllowedWindowSnapshot.h"
#include "overlay/DisplayGeometry.h"

#include <QDateTime>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace vesk::platform {
class ScreenProviding;
class Workspace;
} // namespace vesk::platform

namespace vesk {

class Clock;
class Scheduler;
class WindowSnapshotReader;

// A diagnostic sampler: while the session core reveals an allowed
// application, it logs every half second which allowed windows are on screen
// and which application is in front. It changes nothing.
class SpaceTransitionProbeService final : public SpaceTransitionProbing {
public:
    static constexpr double defaultInterval = 0.5;

    struct Providers {
        std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots;
        std::function<std::optional<DisplayGeometry>()> displayGeometry;
        std::function<std::optional<QString>()> frontmostBundleID;
        std::function<QDateTime()> now;
    };
    // The window list on screen, the current displays, the workspace's
    // frontmost application and the clock. Each must outlive the probe.
    static Providers defaultProviders(const WindowSnapshotReader& snapshots, const platform::ScreenProviding& screens,
                                      const platform::Workspace& workspace, const Clock& clock);

    SpaceTransitionProbeService(Scheduler& scheduler, double interval, Providers providers);
    ~SpaceTransitionProbeService() override;
    SpaceTransitionProbeService(const SpaceTransitionProbeService&) = delete;
    SpaceTransitionProbeService& operator=(const SpaceTransitionProbeService&) = delete;

    void activate(const std::set<QString>& allowedBundleIDs) override;
    void updateAllowedBundleIDs(const std::set<QString>& allowedBundleIDs) override;
    // Samples at once, then on every tick until the duration (negative: 0)
    // has passed. A burst during a burst starts over on the running timer.
    void startBurst(const QString& reason, double durationSeconds) override;
    void deactivate() override;

    bool isActive() const { return isActive_; }
    bool isBursting() const { return timer_ != nullptr; }

private:
    void tick();
    void sample(const QString& reason);
    void stopBurst();
    // "id{count=2,ids=[31,32]}" for one allowed application.
    QString allowedOnScreenEntry(const QString& bundleID, const std::vector<AllowedWindowSnapshot>& snapshots,
                                 const std::optional<DisplayGeometry>& geometry) const;

    Scheduler& scheduler_;
    const double interval_;
    const Providers providers_;
    VeskLogger logger_{QStringLiteral("SpaceTransitionProbeService")};
    std::set<QString> allowedBundleIDs_;
    std::unique_ptr<MainQueueTimer> timer_;
    std::optional<QDateTime> burstEndsAt_;
    int sampleIndex_ = 0;
    bool isActive_ = false;
    std::optional<QString> activeReason_;
};

} // namespace vesk
