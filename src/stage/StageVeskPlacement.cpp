#include "stage/StageVeskPlacement.h"

#include "stage/StageVeskFrames.h"
#include "stage/StageVeskLog.h"

#include "core/TextFormat.h"

#include <cmath>

namespace vesk {

namespace {

constexpr qint64 dragCancelsEnforcementMilliseconds = 1000;

} // namespace

StageVeskPlacement::StageVeskPlacement(StageVeskModel& model, StageVeskPlacementRecords& records,
                                       StageVeskWindowSync& sync, StageVeskDisplayPrewarm& prewarm,
                                       StageVeskFocusRaiser& raiser, const StageVeskServiceEnvironment& environment)
    : model_(model)
    , records_(records)
    , sync_(sync)
    , prewarm_(prewarm)
    , raiser_(raiser)
    , environment_(environment)
{
}

void StageVeskPlacement::placeFreestyle(const QString& bundleID, StageVeskScreenID screen, double anchorX,
                                        double anchorY, double divisorX, double divisorY)
{
    if (!model_.isActive())
        return;
    const QDateTime now = environment_.clock.now();
    const Rect base = StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
    model_.change([&](StageVeskState& state) { state.applyLayout(StageVeskPhase::freestyle, screen, now, base); });
    records_.zoomRestorePositions.erase(bundleID);
    const Rect frame = freestyleFrame(base, anchorX, anchorY, divisorX, divisorY);
    prewarm_.prewarm({{bundleID, frame}});
    model_.assignFreePosition(bundleID, frame, screen, base, now);
    records_.recentPlacements[bundleID] = now;
    logStage(VeskLogLevel::info, QStringLiteral("placed freestyle app — bundleID=%1, screenID=%2, x=%3, y=%4")
                                     .arg(bundleID, QString::number(screen.rawValue))
                                     .arg(qint64(std::trunc(frame.x)))
                                     .arg(qint64(std::trunc(frame.y))));
    sync_.syncWindows(QStringLiteral("placeFreestyle"));
    raiser_.raiseApp(bundleID, QStringLiteral("placeFreestyle"));
}

bool StageVeskPlacement::enforcePlacement(const QString& bundleID, const std::optional<Rect>& rect)
{
    const auto found = records_.placementEnforcements.find(bundleID);
    if (found == records_.placementEnforcements.end())
        return false;
    const PlacementEnforcement record = found->second;
    if (hasLapsed(bundleID, record, environment_.clock.now())) {
        records_.placementEnforcements.erase(found);
        return false;
    }
    if (!rect)
        return false;
    const StageVeskScreenID actual = StageVeskScreenID::forRect(environment_.screens, *rect);
    if (hasSettled(bundleID, record, actual, *rect)) {
        records_.placementEnforcements.erase(found);
        return false;
    }
    retry(bundleID, found->second, actual, *rect);
    return true;
}

bool StageVeskPlacement::hasLapsed(const QString& bundleID, const PlacementEnforcement& record,
                                   const QDateTime& now) const
{
    const std::optional<QDateTime>& lastDrag = records_.lastUserDragAt;
    if (lastDrag && *lastDrag > record.createdAt && lastDrag->msecsTo(now) < dragCancelsEnforcementMilliseconds) {
        logStage(VeskLogLevel::info,
                 QStringLiteral("placement enforcement cancelled by newer user drag — bundleID=%1, msSinceCreated=%2, "
                                "msSinceDrag=%3")
                     .arg(bundleID)
                     .arg(record.createdAt.msecsTo(now))
                     .arg(lastDrag->msecsTo(now)));
        return true;
    }
    if (now > record.deadline) {
        logStage(VeskLogLevel::warning,
                 QStringLiteral("placement enforcement gave up (deadline) — bundleID=%1, targetScreen=%2")
                     .arg(bundleID, QString::number(record.screenID.rawValue)));
        return true;
    }
    return false;
}

bool StageVeskPlacement::hasSettled(const QString& bundleID, const PlacementEnforcement& record,
                                    StageVeskScreenID actual, const Rect& rect) const
{
    if (actual == record.screenID) {
        logStage(VeskLogLevel::info, QStringLiteral("placement enforcement succeeded — bundleID=%1, screen=%2, rect=%3")
                                         .arg(bundleID, QString::number(actual.rawValue), toString(rect)));
        return true;
    }
    if (record.remainingAttempts < 1) {
        logStage(VeskLogLevel::warning,
                 QStringLiteral("placement enforcement gave up (attempts) — bundleID=%1, targetScreen=%2, "
                                "actualScreen=%3, rect=%4")
                     .arg(bundleID, QString::number(record.screenID.rawValue), QString::number(actual.rawValue),
                          toString(rect)));
        return true;
    }
    return false;
}

void StageVeskPlacement::retry(const QString& bundleID, PlacementEnforcement& record, StageVeskScreenID actual,
                               const Rect& rect)
{
    record.remainingAttempts -= 1;
    const StageVeskScreenID target = record.screenID;
    logStage(VeskLogLevel::info,
             QStringLiteral("placement enforcement retry — bundleID=%1, targetScreen=%2, actualScreen=%3, rect=%4, "
                            "remainingAttempts=%5")
                 .arg(bundleID, QString::number(target.rawValue), QString::number(actual.rawValue), toString(rect))
                 .arg(record.remainingAttempts));
    const StageVeskAppState* app = model_.state().app(bundleID);
    if (app && app->position && app->screenID == target) {
        records_.recentPlacements[bundleID] = environment_.clock.now();
        sync_.syncWindows(QStringLiteral("placementEnforcement"));
        raiser_.raiseApp(bundleID, QStringLiteral("placementEnforcement"));
    } else {
        placeFreestyle(bundleID, target, 0.5, 0.5, 1, 1);
    }
}

} // namespace vesk
