#include "stage/StageVeskDisplayPrewarm.h"

#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <QPointer>

#include <algorithm>

namespace vesk {

namespace {

constexpr double prewarmDwell = 0.5;

} // namespace

StageVeskDisplayPrewarm::StageVeskDisplayPrewarm(AXWindowManaging& windowManager, StageVeskWindowSync& sync,
                                                 const platform::ScreenProviding& screens, Scheduler& scheduler)
    : windowManager_(windowManager)
    , sync_(sync)
    , screens_(screens)
    , scheduler_(scheduler)
{
}

StageVeskDisplayPrewarm::~StageVeskDisplayPrewarm()
{
    return_.cancel();
}

void StageVeskDisplayPrewarm::prewarm(const std::map<QString, Rect>& visibleWindows)
{
    if (StageVeskScreenID::allScreenIDs(screens_).size() <= 1)
        return;
    for (const auto& [bundleID, rect] : visibleWindows) {
        if (!prewarmedBundleIDs_.contains(bundleID)) {
            prewarmedBundleIDs_.insert(bundleID);
            queue_.emplace_back(bundleID, rect);
        }
    }
    if (!return_.isPending())
        runNext();
}

void StageVeskDisplayPrewarm::reset()
{
    prewarmedBundleIDs_.clear();
    queue_.clear();
    isPrewarming_ = false;
}

void StageVeskDisplayPrewarm::runNext()
{
    while (!queue_.empty()) {
        const QString bundleID = queue_.front().first;
        const Rect original = queue_.front().second;
        queue_.erase(queue_.begin());
        const StageVeskScreenID source = StageVeskScreenID::forRect(screens_, original);
        const auto screens = StageVeskScreenID::allScreenIDs(screens_);
        const auto target = std::find_if(screens.begin(), screens.end(), [&](auto id) { return id != source; });
        if (target == screens.end())
            continue;
        const Rect area = StageVeskScreenID::defaultWindowFrame(screens_, *target);
        const double width = std::min(original.width, area.width);
        const double height = std::min(original.height, area.height);
        const Rect targetRect{area.midX() - width / 2, area.midY() - height / 2, width, height};
        isPrewarming_ = true;
        Outing outing{bundleID, original, targetRect, source, *target};
        outing.setOutOk = windowManager_.setPosition(bundleID, targetRect);
        outing.raiseOutOk = windowManager_.raise(bundleID);
        sync_.setAwayForPrewarm(bundleID);
        return_ = scheduler_.asyncAfter(prewarmDwell, [outing, self = QPointer(this)] {
            if (self)
                self->bringBack(outing);
        });
        return;
    }
    isPrewarming_ = false;
}

void StageVeskDisplayPrewarm::bringBack(const Outing& outing)
{
    sync_.setAwayForPrewarm(std::nullopt);
    // The sync left the window alone while it was out: a frame the stage gave
    // it meanwhile is set in full, else it goes back to where it was seen.
    const std::optional<Rect> placed = sync_.placedFrame(outing.bundleID);
    const bool restoreOk = placed ? windowManager_.setFrame(outing.bundleID, *placed)
                                  : windowManager_.setPosition(outing.bundleID, outing.original);
    const bool raiseBackOk = windowManager_.raise(outing.bundleID);
    logStage(VeskLogLevel::info,
             QStringLiteral("prewarm display registration — bundleID=%1, sourceScreen=%2, targetScreen=%3, "
                            "originalRect=%4, targetRect=%5, setOutOk=%6, raiseOutOk=%7, restoreOk=%8, ")
                     .arg(outing.bundleID, QString::number(outing.source.rawValue),
                          QString::number(outing.target.rawValue), toString(outing.original),
                          toString(outing.targetRect), boolText(outing.setOutOk), boolText(outing.raiseOutOk),
                          boolText(restoreOk))
                 + QStringLiteral("raiseBackOk=%1, dwellMs=500").arg(boolText(raiseBackOk)));
    runNext();
}

} // namespace vesk
