#include "stage/StageVeskFocusRaiser.h"

#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <QPointer>

namespace vesk {

namespace {

constexpr double focusRepeatDelays[] = {0.12, 0.35};

bool isRaisable(AllowedWindowSpaceState state)
{
    return state == AllowedWindowSpaceState::hidden || state == AllowedWindowSpaceState::onActiveSpace
           || state == AllowedWindowSpaceState::minimized;
}

} // namespace

StageVeskFocusRaiser::StageVeskFocusRaiser(const StageVeskModel& model, AXWindowManaging& windowManager,
                                           const StageVeskWindowSpaceClassificationProvider& classify,
                                           Scheduler& scheduler)
    : model_(model)
    , windowManager_(windowManager)
    , classify_(classify)
    , scheduler_(scheduler)
{
}

StageVeskFocusRaiser::~StageVeskFocusRaiser()
{
    cancelAll();
}

void StageVeskFocusRaiser::raiseApp(const QString& bundleID, const QString& reason)
{
    cancel(bundleID);
    const AllowedWindowSpaceClassification classification = classify_(bundleID);
    if (!isRaisable(classification.state)) {
        logStage(VeskLogLevel::warning,
                 QStringLiteral("raise skipped for non-raisable app — bundleID=%1, reason=%2, %3")
                     .arg(bundleID, reason, classification.description()));
        return;
    }
    windowManager_.raise(bundleID);
    std::vector<WorkItem> items;
    for (const double delay : focusRepeatDelays) {
        items.push_back(scheduler_.asyncAfter(delay, [=, self = QPointer(this)] {
            if (self)
                self->repeatRaise(bundleID, reason, delay);
        }));
    }
    pendingFocusWorkItems_[bundleID] = std::move(items);
}

void StageVeskFocusRaiser::repeatRaise(const QString& bundleID, const QString& reason, double delay)
{
    const StageVeskState& state = model_.state();
    if (!model_.isActive() || state.activeBundleID != bundleID || !state.stagedBundleIDs().contains(bundleID))
        return;
    const AllowedWindowSpaceClassification classification = classify_(bundleID);
    if (isRaisable(classification.state)) {
        windowManager_.raise(bundleID);
        logStage(VeskLogLevel::debug, QStringLiteral("repeated focus raise — bundleID=%1, reason=%2, delay=%3")
                                          .arg(bundleID, reason, doubleText(delay)));
        return;
    }
    cancel(bundleID);
    logStage(VeskLogLevel::warning,
             QStringLiteral("repeated raise skipped for non-raisable app — bundleID=%1, reason=%2, delay=%3, %4")
                 .arg(bundleID, reason, doubleText(delay), classification.description()));
}

void StageVeskFocusRaiser::cancel(const QString& bundleID)
{
    const auto found = pendingFocusWorkItems_.find(bundleID);
    if (found == pendingFocusWorkItems_.end())
        return;
    for (WorkItem& item : found->second)
        item.cancel();
    pendingFocusWorkItems_.erase(found);
}

void StageVeskFocusRaiser::cancelAll()
{
    for (auto& [bundleID, items] : pendingFocusWorkItems_) {
        for (WorkItem& item : items)
            item.cancel();
    }
    pendingFocusWorkItems_.clear();
}

} // namespace vesk
