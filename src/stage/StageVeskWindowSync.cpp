#include "stage/StageVeskWindowSync.h"

#include "stage/StageVeskFrames.h"
#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <set>

namespace vesk {

namespace {

constexpr qint64 recentDragMilliseconds = 600;

bool isVerboseReason(const QString& reason)
{
    return reason == QLatin1String("activate");
}

} // namespace

StageVeskWindowSync::StageVeskWindowSync(StageVeskModel& model, const StageVeskPlacementRecords& records,
                                         AXWindowManaging& windowManager,
                                         const StageVeskVisibleWindowRectsProvider& visibleWindowRects,
                                         const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , windowManager_(windowManager)
    , visibleWindowRects_(visibleWindowRects)
    , environment_(environment)
{
}

void StageVeskWindowSync::syncWindows(const QString& reason)
{
    if (!model_.isActive())
        return;
    const QStringList order = model_.state().appOrder;
    for (const QString& bundleID : order)
        syncApp(bundleID, reason, isVerboseReason(reason));
    std::set<QString> hidden;
    for (const auto& [bundleID, record] : model_.state().apps) {
        if (record.isOpen && (record.isParked || (!record.slot && !record.position)))
            hidden.insert(bundleID);
    }
    logStage(VeskLogLevel::debug, QStringLiteral("synced windows — reason=%1, visible=%2, hidden=%3")
                                      .arg(reason, listText(model_.state().stagedBundleIDs()), listText(hidden)));
}

void StageVeskWindowSync::syncApp(const QString& bundleID, const QString& reason, bool verbose)
{
    const StageVeskAppState* record = model_.state().app(bundleID);
    if (!record || !record->isOpen || bundleID == awayForPrewarm_)
        return;
    if (exitNativeFullScreen(bundleID))
        return;
    record = model_.state().app(bundleID);
    const StageVeskScreenID screen = record->screenID.value_or(StageVeskScreenID::mainScreenID(environment_.screens));
    if (!record->slot && !record->position) {
        hideWithoutPlace(bundleID, reason, verbose);
        return;
    }
    setFrame(bundleID, screen, reason, verbose);
    raiseIfActive(bundleID, screen, reason, verbose);
}

void StageVeskWindowSync::setFrame(const QString& bundleID, StageVeskScreenID screen, const QString& reason,
                                   bool verbose)
{
    const Rect frame = *placedFrame(bundleID);
    const std::optional<int> slot = model_.state().app(bundleID)->slot;
    logFrameDuringRecentDrag(reason, bundleID, frame);
    const bool ok = windowManager_.setFrame(bundleID, frame);
    if (!verbose)
        return;
    const QString slotField = slot ? QStringLiteral(", slot=%1").arg(*slot) : QString();
    logStage(VeskLogLevel::debug,
             QStringLiteral("sync setFrame — reason=%1, bundleID=%2, screenID=%3%4, rect=%5, ok=%6")
                 .arg(reason, bundleID, QString::number(screen.rawValue), slotField, toString(frame), boolText(ok)));
}

std::optional<Rect> StageVeskWindowSync::placedFrame(const QString& bundleID) const
{
    const StageVeskState& state = model_.state();
    const StageVeskAppState* record = state.app(bundleID);
    if (!record || !record->isOpen)
        return std::nullopt;
    if (record->slot) {
        const StageVeskScreenID screen =
            record->screenID.value_or(StageVeskScreenID::mainScreenID(environment_.screens));
        return slotFrame(state.phase(screen), *record->slot,
                         StageVeskScreenID::defaultWindowFrame(environment_.screens, screen));
    }
    if (record->position)
        return record->position->rect();
    return std::nullopt;
}

void StageVeskWindowSync::hideWithoutPlace(const QString& bundleID, const QString& reason, bool verbose)
{
    if (records_.pendingStagePlacements.contains(bundleID)) {
        logStage(VeskLogLevel::debug,
                 QStringLiteral("sync hide skipped (pending stage placement) — reason=%1, bundleID=%2")
                     .arg(reason, bundleID));
        return;
    }
    const bool ok = windowManager_.hide(bundleID);
    if (verbose)
        logStage(VeskLogLevel::debug,
                 QStringLiteral("sync hide — reason=%1, bundleID=%2, ok=%3").arg(reason, bundleID, boolText(ok)));
}

void StageVeskWindowSync::raiseIfActive(const QString& bundleID, StageVeskScreenID screen, const QString& reason,
                                        bool verbose)
{
    const StageVeskState& state = model_.state();
    const auto screenActive = state.activeBundleIDByScreen.find(screen);
    const bool isActiveApp = screenActive != state.activeBundleIDByScreen.end() ? screenActive->second == bundleID
                                                                                : state.activeBundleID == bundleID;
    if (!isActiveApp)
        return;
    const bool ok = windowManager_.raise(bundleID);
    if (verbose)
        logStage(VeskLogLevel::debug,
                 QStringLiteral("sync raise — reason=%1, bundleID=%2, ok=%3").arg(reason, bundleID, boolText(ok)));
}

void StageVeskWindowSync::logFrameDuringRecentDrag(const QString& reason, const QString& bundleID, const Rect& rect)
{
    if (isVerboseReason(reason) || !records_.lastUserDragAt)
        return;
    const qint64 sinceDrag = records_.lastUserDragAt->msecsTo(environment_.clock.now());
    if (sinceDrag > recentDragMilliseconds)
        return;
    logStage(VeskLogLevel::warning,
             QStringLiteral("setFrame during recent drag — reason=%1, bundleID=%2, msSinceDrag=%3, rect=%4")
                 .arg(reason, bundleID, QString::number(sinceDrag), toString(rect)));
}

bool StageVeskWindowSync::exitNativeFullScreen(const QString& bundleID)
{
    if (!windowManager_.isFullScreen(bundleID))
        return false;
    const bool ok = windowManager_.exitFullScreen(bundleID);
    logStage(VeskLogLevel::info,
             QStringLiteral("exiting native fullscreen — bundleID=%1, ok=%2").arg(bundleID, boolText(ok)));
    return true;
}

std::map<QString, Rect> StageVeskWindowSync::seedVisibleWindows(const QStringList& bundleIDs)
{
    const std::map<QString, Rect> rects = visibleWindowRects_({bundleIDs.begin(), bundleIDs.end()});
    QStringList entries;
    for (const QString& bundleID : bundleIDs) {
        const auto rect = rects.find(bundleID);
        if (rect == rects.end()) {
            entries << bundleID + QStringLiteral("{seeded=false}");
            continue;
        }
        const StageVeskScreenID screen = StageVeskScreenID::forRect(environment_.screens, rect->second);
        const Rect area = StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
        const Rect seeded = clampFrameToVisible(cappedFrame(rect->second, area), area);
        model_.assignFreePosition(bundleID, seeded, screen, area, environment_.clock.now());
        entries << bundleID
                       + QStringLiteral("{seeded=true,screenID=%1,rect=%2}")
                             .arg(QString::number(screen.rawValue), toString(seeded));
    }
    logStage(VeskLogLevel::info, QStringLiteral("seeded visible windows — ") + entries.join(QStringLiteral("; ")));
    return rects;
}

} // namespace vesk
