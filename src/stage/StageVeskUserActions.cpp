#include "stage/StageVeskUserActions.h"

#include "stage/StageVeskFrames.h"
#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <cmath>

namespace vesk {

namespace {

// A window counts as zoomed when its frame is within this of the zoom frame
// in each value.
constexpr double zoomMatchTolerance = 96;

Rect zoomFrame(const Rect& area)
{
    const double width = stageSizeShare * area.width;
    const double height = stageSizeShare * area.height;
    return clampFrameToVisible({area.midX() - width / 2, area.midY() - height / 2, width, height}, area);
}

bool isNearlySameFrame(const Rect& a, const Rect& b)
{
    return std::abs(a.x - b.x) <= zoomMatchTolerance && std::abs(a.y - b.y) <= zoomMatchTolerance
           && std::abs(a.width - b.width) <= zoomMatchTolerance && std::abs(a.height - b.height) <= zoomMatchTolerance;
}

} // namespace

StageVeskUserActions::StageVeskUserActions(StageVeskModel& model, StageVeskPlacementRecords& records,
                                           AXWindowManaging& windowManager, StageVeskWindowSync& sync,
                                           StageVeskPlacement& placement, StageVeskFocusRaiser& raiser,
                                           StageVeskPlacementBurst& burst,
                                           const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , windowManager_(windowManager)
    , sync_(sync)
    , placement_(placement)
    , raiser_(raiser)
    , burst_(burst)
    , environment_(environment)
{
}

void StageVeskUserActions::closeApp(const QString& bundleID, Point quartzClickPoint)
{
    if (!model_.isActive())
        return;
    records_.zoomRestorePositions.erase(bundleID);
    records_.pendingCloseVerifications[bundleID] = environment_.clock.now();
    const bool didRequestClose = windowManager_.closeWindow(bundleID, quartzClickPoint);
    logStage(VeskLogLevel::info,
             QStringLiteral("close verification pending — bundleID=%1, didRequestClose=%2, point=%3")
                 .arg(bundleID, boolText(didRequestClose), toString(quartzClickPoint)));
    burst_.start();
}

void StageVeskUserActions::moveToQueue(const QString& bundleID)
{
    if (!model_.isActive())
        return;
    records_.zoomRestorePositions.erase(bundleID);
    records_.pendingStagePlacements.erase(bundleID);
    records_.placementEnforcements.erase(bundleID);
    model_.change([&](StageVeskState& state) { state.moveToQueue(bundleID); });
    windowManager_.hide(bundleID);
    logStage(VeskLogLevel::info, QStringLiteral("moved app to Vesk queue — bundleID=%1, queue=%2")
                                     .arg(bundleID, arrayText(model_.state().queuedBundleIDs())));
}

void StageVeskUserActions::toggleZoom(const QString& bundleID)
{
    const StageVeskAppState* record = model_.openApp(bundleID);
    if (!record)
        return;
    const StageVeskScreenID screen = record->screenID.value_or(StageVeskScreenID::mainScreenID(environment_.screens));
    const ZoomMove move = planZoomMove(bundleID, *record, screen);
    moveZoomedWindow(bundleID, move);
    if (move.restores) {
        logStage(VeskLogLevel::info,
                 QStringLiteral("restored app from Vesk zoom — bundleID=%1, hadRestorePosition=%2, rect=%3")
                     .arg(bundleID, boolText(move.hadRestorePosition), toString(move.target)));
    } else {
        logStage(VeskLogLevel::info,
                 QStringLiteral("zoomed app via Vesk action — bundleID=%1, hasRestorePosition=%2, rect=%3")
                     .arg(bundleID, boolText(records_.zoomRestorePositions.contains(bundleID)), toString(move.target)));
    }
}

StageVeskUserActions::ZoomMove
StageVeskUserActions::planZoomMove(const QString& bundleID, const StageVeskAppState& record, StageVeskScreenID screen)
{
    const Rect zoomed = zoomFrame(area(screen));
    if (!record.position || !isNearlySameFrame(record.position->rect(), zoomed)) {
        if (record.position && !records_.zoomRestorePositions.contains(bundleID))
            records_.zoomRestorePositions[bundleID] = *record.position;
        return {false, false, zoomed, screen};
    }
    const auto saved = records_.zoomRestorePositions.find(bundleID);
    if (saved == records_.zoomRestorePositions.end())
        return {true, false, freestyleFrame(area(screen), 0.5, 0.5, 1, 1), screen};
    const Rect restored = saved->second.rect();
    records_.zoomRestorePositions.erase(saved);
    return {true, true, restored, StageVeskScreenID::forRect(environment_.screens, restored)};
}

// The model follows only on a free screen; a slot keeps its place and the next
// sync puts the window back.
void StageVeskUserActions::moveZoomedWindow(const QString& bundleID, const ZoomMove& move)
{
    const QDateTime now = environment_.clock.now();
    const Rect stateFrame = move.restores ? clampFrameToVisible(move.target, area(move.screen)) : move.target;
    model_.change([&](StageVeskState& state) { state.placeFree(bundleID, stateFrame, move.screen, now); });

    const StageVeskAppState* updated = model_.state().app(bundleID);
    const Rect windowFrame = updated && updated->position ? updated->position->rect() : move.target;
    if (windowManager_.setFrame(bundleID, windowFrame))
        windowManager_.raise(bundleID);
    raiser_.raiseApp(bundleID, move.restores ? QStringLiteral("zoomRestore") : QStringLiteral("zoom"));
}

void StageVeskUserActions::restoreFromQueue(const QString& bundleID, StageVeskScreenID fallbackScreen)
{
    const StageVeskAppState* record = model_.openApp(bundleID);
    if (!record)
        return;
    if (record->isParked) {
        const QDateTime now = environment_.clock.now();
        model_.change([&](StageVeskState& state) { state.unpark(bundleID, now); });
    }
    if (const auto saved = model_.state().savedPlacement(bundleID)) {
        restoreToSavedFrame(bundleID, *saved, fallbackScreen);
        return;
    }
    logStage(VeskLogLevel::info,
             QStringLiteral("restore from queue without saved frame — bundleID=%1, fallbackScreenID=%2")
                 .arg(bundleID, QString::number(fallbackScreen.rawValue)));
    placement_.placeFreestyle(bundleID, fallbackScreen, 0.5, 0.5, 1, 1);
}

void StageVeskUserActions::restoreToSavedFrame(const QString& bundleID, const StageVeskState::SavedPlacement& saved,
                                               StageVeskScreenID fallbackScreen)
{
    const QDateTime now = environment_.clock.now();
    const StageVeskScreenID screen = saved.screenID.value_or(fallbackScreen);
    const Rect screenArea = area(screen);
    const Rect frame = clampFrameToVisible(saved.position.rect(), screenArea);
    records_.zoomRestorePositions.erase(bundleID);
    model_.change([&](StageVeskState& state) {
        state.applyLayout(StageVeskPhase::freestyle, screen, now, screenArea);
        state.placeFree(bundleID, frame, screen, now);
    });
    records_.recentPlacements[bundleID] = now;
    logStage(VeskLogLevel::info,
             QStringLiteral("restored app from queue with saved frame — bundleID=%1, screenID=%2, rect=%3")
                 .arg(bundleID, QString::number(screen.rawValue), toString(frame)));
    sync_.syncWindows(QStringLiteral("restoreFromQueue"));
    raiser_.raiseApp(bundleID, QStringLiteral("restoreFromQueue"));
}

Rect StageVeskUserActions::area(StageVeskScreenID screen) const
{
    return StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
}

} // namespace vesk
