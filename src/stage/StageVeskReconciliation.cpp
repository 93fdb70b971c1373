#include "stage/StageVeskReconciliation.h"

#include "stage/StageVeskFrames.h"
#include "stage/StageVeskLog.h"
#include "stage/StageVeskWindowCandidates.h"

#include "core/TextFormat.h"
#include "overlay/DisplayGeometry.h"

#include <vector>

namespace vesk {

namespace {

constexpr double placementGraceSeconds = 2.0;
constexpr qint64 closeCheckMilliseconds = 4000;

} // namespace

StageVeskReconciliation::StageVeskReconciliation(StageVeskModel& model, StageVeskPlacementRecords& records,
                                                 StageVeskPlacement& placement, StageVeskWindowSync& sync,
                                                 StageVeskDisplayPrewarm& prewarm, AXWindowManaging& windowManager,
                                                 const StageVeskVisibleWindowRectsProvider& visibleWindowRects,
                                                 const StageVeskWindowSpaceClassificationProvider& classify,
                                                 const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , placement_(placement)
    , sync_(sync)
    , prewarm_(prewarm)
    , windowManager_(windowManager)
    , visibleWindowRects_(visibleWindowRects)
    , classify_(classify)
    , environment_(environment)
{
}

void StageVeskReconciliation::setOnAppFullyClosed(std::function<void(const QString&)> handler)
{
    onAppFullyClosed_ = std::move(handler);
}

void StageVeskReconciliation::reconcileVisibleWindows(const QString& reason)
{
    if (!model_.isActive())
        return;
    if (prewarm_.isPrewarming()) {
        logStage(VeskLogLevel::debug, QStringLiteral("reconcile skipped — prewarm in progress, reason=") + reason);
        return;
    }
    // The walk goes over the order as the pass began; records are looked up
    // anew after every step, since a step may change them.
    const QStringList order = model_.state().appOrder;
    const std::map<QString, Rect> rects = visibleWindowRects_({order.begin(), order.end()});
    QStringList changed;
    for (const QString& bundleID : order) {
        if (!model_.isActive())
            return;
        const auto rect = rects.find(bundleID);
        reconcileApp(bundleID, rect != rects.end() ? std::optional<Rect>(rect->second) : std::nullopt, reason, changed);
    }
    if (changed.isEmpty())
        return;
    changed.sort();
    logStage(VeskLogLevel::info, QStringLiteral("reconciled visible windows — reason=%1, changed=%2, queue=%3")
                                     .arg(reason, arrayText(changed), arrayText(model_.state().queuedBundleIDs())));
}

void StageVeskReconciliation::reconcileApp(const QString& bundleID, const std::optional<Rect>& rect,
                                           const QString& reason, QStringList& changed)
{
    if (verifyClose(bundleID, rect)) {
        changed << bundleID;
        return;
    }
    if (reopenIfWindowCameBack(bundleID, rect))
        changed << bundleID;
    const StageVeskAppState* record = model_.state().app(bundleID);
    if (!record || !record->isOpen || sync_.exitNativeFullScreen(bundleID))
        return;
    if (records_.pendingStagePlacements.contains(bundleID)) {
        // Without a window the placement keeps waiting.
        if (rect) {
            firePendingPlacement(bundleID, *rect);
            changed << bundleID;
        }
        return;
    }
    if (placement_.enforcePlacement(bundleID, rect)) {
        changed << bundleID;
        return;
    }
    record = model_.state().app(bundleID);
    if (!record)
        return;
    if (record->isParked || (!record->slot && !record->position)) {
        if (rect) {
            windowManager_.hide(bundleID);
            changed << bundleID;
        }
        return;
    }
    if (rect)
        reconcileVisibleApp(bundleID, *rect, changed);
    else
        reconcileMissingWindow(bundleID, reason, changed);
}

bool StageVeskReconciliation::reopenIfWindowCameBack(const QString& bundleID, const std::optional<Rect>& rect)
{
    const StageVeskAppState* record = model_.state().app(bundleID);
    if (!record || record->isOpen || records_.pendingCloseVerifications.contains(bundleID) || !rect)
        return false;
    const QDateTime now = environment_.clock.now();
    model_.change([&](StageVeskState& state) { state.reopen(bundleID, now); });
    logStage(VeskLogLevel::info, QStringLiteral("reopened app — window reappeared after close, bundleID=") + bundleID);
    return true;
}

void StageVeskReconciliation::firePendingPlacement(const QString& bundleID, const Rect& rect)
{
    const StageVeskScreenID target = records_.pendingStagePlacements.at(bundleID);
    records_.pendingStagePlacements.erase(bundleID);
    logStage(VeskLogLevel::info,
             QStringLiteral(
                 "pending stage placement firing — bundleID=%1, targetScreen=%2, windowScreen=%3, windowRect=%4")
                 .arg(bundleID, QString::number(target.rawValue),
                      QString::number(StageVeskScreenID::forRect(environment_.screens, rect).rawValue),
                      toString(rect)));
    placement_.placeFreestyle(bundleID, target, 0.5, 0.5, 1, 1);
    records_.enforce(bundleID, target, environment_.clock.now());
}

void StageVeskReconciliation::reconcileMissingWindow(const QString& bundleID, const QString& reason,
                                                     QStringList& changed)
{
    const AllowedWindowSpaceClassification classification = classify_(bundleID);
    if (classification.state == AllowedWindowSpaceState::onOtherSpace) {
        logStage(VeskLogLevel::warning,
                 QStringLiteral("queue move skipped — window exists on another Space, bundleID=%1, reason=%2, %3")
                     .arg(bundleID, reason, classification.description()));
        return;
    }
    if (const auto placed = records_.recentPlacements.find(bundleID);
        placed != records_.recentPlacements.end()
        && placed->second.msecsTo(environment_.clock.now()) / 1000.0 < placementGraceSeconds) {
        logStage(VeskLogLevel::debug, QStringLiteral("queue move deferred (placement grace) — bundleID=%1, reason=%2")
                                          .arg(bundleID, reason));
        return;
    }
    handleWindowDisappeared(bundleID, reason);
    model_.change([&](StageVeskState& state) { state.moveToQueue(bundleID); });
    changed << bundleID;
}

void StageVeskReconciliation::reconcileVisibleApp(const QString& bundleID, const Rect& rect, QStringList& changed)
{
    const StageVeskAppState& record = *model_.state().app(bundleID);
    const StageVeskScreenID screen =
        !record.position && record.screenID ? *record.screenID : StageVeskScreenID::forRect(environment_.screens, rect);
    if (model_.state().phase(screen) != StageVeskPhase::freestyle)
        return;
    const QDateTime now = environment_.clock.now();
    if (!record.position) {
        prewarm_.prewarm({{bundleID, rect}});
        const Rect area = StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
        model_.assignFreePosition(bundleID, clampFrameToVisible(cappedFrame(rect, area), area), screen, area, now);
        changed << bundleID;
        return;
    }
    const std::optional<StageVeskScreenID> previousScreen = record.screenID;
    model_.change([&](StageVeskState& state) { state.recordUserFrame(bundleID, screen, false, now, rect); });
    if (previousScreen != screen) {
        logStage(VeskLogLevel::info,
                 QStringLiteral("reconciled screen change — bundleID=%1, from=%2, to=%3, rect=%4")
                     .arg(bundleID, screenText(previousScreen), screenText(screen), toString(rect)));
        changed << bundleID;
    }
}

bool StageVeskReconciliation::verifyClose(const QString& bundleID, const std::optional<Rect>& rect)
{
    const auto found = records_.pendingCloseVerifications.find(bundleID);
    if (found == records_.pendingCloseVerifications.end())
        return false;
    if (!rect) {
        records_.pendingCloseVerifications.erase(found);
        model_.change([&](StageVeskState& state) { state.markClosed(bundleID); });
        logStage(VeskLogLevel::info, QStringLiteral("close verified — no windows remain, bundleID=") + bundleID);
        if (const auto handler = onAppFullyClosed_)
            handler(bundleID);
        return true;
    }
    const qint64 elapsed = found->second.msecsTo(environment_.clock.now());
    if (elapsed >= closeCheckMilliseconds) {
        records_.pendingCloseVerifications.erase(found);
        logStage(
            VeskLogLevel::info,
            QStringLiteral("close left windows open — keeping app open, bundleID=%1, remaining=visible").arg(bundleID));
        return false;
    }
    logStage(VeskLogLevel::debug,
             QStringLiteral("close verification pending — bundleID=%1, visibleWindows=true, msElapsed=%2")
                 .arg(bundleID)
                 .arg(elapsed));
    return false;
}

void StageVeskReconciliation::handleWindowDisappeared(const QString& bundleID, const QString& reason)
{
    std::vector<AllowedWindowSnapshot> own;
    for (const AllowedWindowSnapshot& window : environment_.onScreenWindowSnapshots()) {
        if (window.bundleID == bundleID)
            own.push_back(window);
    }
    if (own.empty()) {
        logStage(VeskLogLevel::warning,
                 QStringLiteral("window disappeared — bundleID=%1, reason=%2, no CGWindow snapshots "
                                "at all (window really gone or off-screen)")
                     .arg(bundleID, reason));
        return;
    }
    const auto geometry = DisplayGeometry::current(environment_.screens);
    QStringList descriptions;
    for (const AllowedWindowSnapshot& window : own)
        descriptions << describeWindowCandidate(window, geometry);
    logStage(VeskLogLevel::warning,
             QStringLiteral("window filtered out before queue move — bundleID=%1, reason=%2, snapshots=%3: %4")
                 .arg(bundleID, reason)
                 .arg(own.size())
                 .arg(descriptions.join(QStringLiteral("; "))));
}

} // namespace vesk
