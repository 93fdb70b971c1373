#include "stage/StageVeskDragSync.h"

#include "stage/StageVeskFrames.h"
#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <cmath>

namespace vesk {

namespace {

constexpr double seamTouchTolerance = 2;
// The pointer holds the dropped window this far below its top edge.
constexpr double handoffTitleBarOffset = 12;
constexpr Size handoffFallbackSize{620, 460};

} // namespace

StageVeskDragSync::StageVeskDragSync(StageVeskModel& model, StageVeskPlacementRecords& records,
                                     const StageVeskVisibleWindowRectsProvider& visibleWindowRects,
                                     StageVeskWindowSync& sync, StageVeskFocusRaiser& raiser,
                                     StageVeskPlacementBurst& burst, const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , visibleWindowRects_(visibleWindowRects)
    , sync_(sync)
    , raiser_(raiser)
    , burst_(burst)
    , environment_(environment)
{
}

void StageVeskDragSync::syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                                     std::optional<StageVeskScreenID> pointerScreen, Rect windowRect)
{
    const StageVeskAppState* record = model_.openApp(bundleID);
    if (!record)
        return;
    const QDateTime now = environment_.clock.now();
    records_.lastUserDragAt = now;
    const std::optional<StageVeskScreenID> previousScreen = record->screenID;
    const StageVeskScreenID majorityScreen = StageVeskScreenID::forRect(environment_.screens, windowRect);
    const StageVeskScreenID target = pointerScreen.value_or(majorityScreen);
    const StageVeskPhase previousPhase = model_.state().phase(target);
    records_.zoomRestorePositions.erase(bundleID);
    const bool flipsPhase = previousPhase != StageVeskPhase::freestyle;
    const Rect area = StageVeskScreenID::defaultWindowFrame(environment_.screens, target);
    model_.change([&](StageVeskState& state) {
        if (flipsPhase)
            state.applyLayout(StageVeskPhase::freestyle, target, now, area);
        state.recordUserFrame(bundleID, target, true, now, windowRect);
    });
    logStage(VeskLogLevel::info,
             QStringLiteral("synced user drag — bundleID=%1, phase=%2->%3, didFlipPhase=%4, screen=%5->%6, "
                            "rectMajorityScreen=%7, pointerScreen=%8, pointer=%9")
                     .arg(bundleID, toRaw(previousPhase), toRaw(model_.state().phase(target)), boolText(flipsPhase),
                          screenText(previousScreen), screenText(target), screenText(majorityScreen),
                          pointerScreen ? screenText(pointerScreen) : QStringLiteral("n/a"),
                          pointer ? toString(*pointer) : QStringLiteral("nil"))
                 + QStringLiteral(", seamTouch=%1, rect=%2")
                       .arg(boolText(touchesScreenEdge(windowRect)), toString(windowRect)));
}

bool StageVeskDragSync::touchesScreenEdge(const Rect& rect) const
{
    const auto touches = [](double a, double b) { return std::abs(a - b) <= seamTouchTolerance; };
    for (const platform::ScreenInfo& screen : environment_.screens.screens()) {
        const Rect frame = rectFromQRectF(screen.frame);
        if (touches(rect.maxY(), frame.maxY()) || touches(rect.minY(), frame.minY())
            || touches(rect.maxX(), frame.maxX()) || touches(rect.minX(), frame.minX()))
            return true;
    }
    return false;
}

void StageVeskDragSync::handleSeamDragHandoff(const QString& bundleID, Point pointer)
{
    const StageVeskAppState* record = model_.openApp(bundleID);
    if (!record)
        return;
    const std::optional<StageVeskScreenID> destination = handoffDestination(bundleID, *record, pointer);
    if (!destination)
        return;
    const Size size = handoffWindowSize(bundleID, *record);
    const Rect bounds = StageVeskScreenID::defaultWindowFrame(environment_.screens, *destination);
    const Rect drop = fitScaledFrame({pointer.x - size.width / 2, pointer.y + handoffTitleBarOffset - size.height,
                                      size.width, size.height},
                                     stageSizeShare, bounds);
    const std::optional<StageVeskScreenID> previousScreen = record->screenID;
    const QDateTime now = environment_.clock.now();
    model_.change(
        [&](StageVeskState& state) { state.applyLayout(StageVeskPhase::freestyle, *destination, now, bounds); });
    records_.zoomRestorePositions.erase(bundleID);
    model_.assignFreePosition(bundleID, drop, *destination, bounds, now);
    records_.recentPlacements[bundleID] = now;
    records_.enforce(bundleID, *destination, now);
    logStage(VeskLogLevel::info,
             QStringLiteral("seam-drag handoff — bundleID=%1, fromScreen=%2, toScreen=%3, pointer=%4, targetBounds=%5, "
                            "dropRect=%6, enforcement=true")
                 .arg(bundleID, screenText(previousScreen), screenText(destination), toString(pointer),
                      toString(bounds), toString(drop)));
    sync_.syncWindows(QStringLiteral("seamDragHandoff"));
    raiser_.raiseApp(bundleID, QStringLiteral("seamDragHandoff"));
    burst_.start();
}

std::optional<StageVeskScreenID>
StageVeskDragSync::handoffDestination(const QString& bundleID, const StageVeskAppState& record, Point pointer) const
{
    const auto destination = StageVeskScreenID::forPoint(environment_.screens, pointer);
    if (!destination) {
        logStage(VeskLogLevel::debug,
                 QStringLiteral("seam-drag handoff skipped — pointer on no known screen, bundleID=%1, pointer=%2")
                     .arg(bundleID, toString(pointer)));
        return std::nullopt;
    }
    if (record.screenID == destination) {
        logStage(VeskLogLevel::debug,
                 QStringLiteral("seam-drag handoff skipped — pointer already on window screen, bundleID=%1, screen=%2")
                     .arg(bundleID, screenText(destination)));
        return std::nullopt;
    }
    return destination;
}

Size StageVeskDragSync::handoffWindowSize(const QString& bundleID, const StageVeskAppState& record) const
{
    const auto visible = visibleWindowRects_({bundleID});
    if (const auto rect = visible.find(bundleID); rect != visible.end())
        return rect->second.size();
    if (record.position)
        return record.position->rect().size();
    return handoffFallbackSize;
}

} // namespace vesk
