#include "stage/StageVeskService.h"

#include "stage/StageVeskFrames.h"

#include "core/TextFormat.h"
#include "overlay/DisplayGeometry.h"
#include "stage/StageVeskWindowCandidates.h"

#include <QPointer>

#include <algorithm>
#include <cmath>

namespace vesk {

namespace {

const QString accessibilityWarningText =
    QStringLiteral("Bedienungshilfen-Berechtigung fehlt: Fenster können nicht automatisch angeordnet werden.");

constexpr double reconciliationInterval = 0.8;
constexpr double burstInterval = 0.1;
constexpr double burstDuration = 15.0;
constexpr double prewarmDwell = 0.5;
constexpr qint64 recentDragMilliseconds = 600;
constexpr qint64 dragCancelsEnforcementMilliseconds = 1000;
constexpr double placementGraceSeconds = 2.0;
constexpr qint64 closeCheckMilliseconds = 4000;
constexpr double sizeShare = 0.95;
constexpr double zoomMatchTolerance = 96;
constexpr double seamTouchTolerance = 2;
constexpr double handoffTitleBarOffset = 12;
constexpr Size handoffFallbackSize{620, 460};
constexpr double focusRepeatDelays[] = {0.12, 0.35};

QString screenText(std::optional<StageVeskScreenID> screen)
{
    return screen ? QString::number(screen->rawValue) : QStringLiteral("none");
}

QString listText(const std::set<QString>& items)
{
    return arrayText(QStringList(items.begin(), items.end()));
}

bool isRaisable(AllowedWindowSpaceState state)
{
    return state == AllowedWindowSpaceState::hidden || state == AllowedWindowSpaceState::onActiveSpace
           || state == AllowedWindowSpaceState::minimized;
}

// The size a window is capped at on a screen: 95 % of its stage area.
Rect cappedFrame(const Rect& frame, const Rect& area)
{
    return {frame.x, frame.y, std::min(frame.width, sizeShare * area.width),
            std::min(frame.height, sizeShare * area.height)};
}

// A free window's size in the stage area (72 %, within 360…620 × 240…460),
// centred horizontally on the anchor with its lower edge 28 pt below it.
Rect freestyleFrame(const Rect& base, double anchorX, double anchorY, double divisorX, double divisorY)
{
    const double width = std::min(std::max(0.72 * base.width, 360.0), 620.0);
    const double height = std::min(std::max(0.72 * base.height, 240.0), 460.0);
    const double x = base.minX() + anchorX / std::max(divisorX, 1.0) * base.width - width / 2;
    const double y = base.minY() + anchorY / std::max(divisorY, 1.0) * base.height - 28;
    return clampFrameToVisible({x, y, width, height}, base);
}

Rect zoomFrame(const Rect& area)
{
    const double width = sizeShare * area.width;
    const double height = sizeShare * area.height;
    return clampFrameToVisible({area.midX() - width / 2, area.midY() - height / 2, width, height}, area);
}

bool isNearlySameFrame(const Rect& a, const Rect& b)
{
    return std::abs(a.x - b.x) <= zoomMatchTolerance && std::abs(a.y - b.y) <= zoomMatchTolerance
           && std::abs(a.width - b.width) <= zoomMatchTolerance && std::abs(a.height - b.height) <= zoomMatchTolerance;
}

} // namespace

StageVeskService::VisibleWindowRectsProvider StageVeskService::defaultVisibleWindowRectsProvider(
    const platform::ScreenProviding& screens,
    std::function<std::vector<AllowedWindowSnapshot>()> onScreenWindowSnapshots)
{
    return
        [&screens, onScreenWindowSnapshots = std::move(onScreenWindowSnapshots)](const std::set<QString>& bundleIDs) {
            const auto geometry = DisplayGeometry::current(screens);
            if (!geometry)
                return std::map<QString, Rect>();
            return visibleWindowRects(onScreenWindowSnapshots(), geometry, bundleIDs);
        };
}

StageVeskService::WindowSpaceClassificationProvider
StageVeskService::defaultWindowSpaceClassificationProvider(AllowedWindowSpaceClassification::Sources sources)
{
    return [sources = std::move(sources)](const QString& bundleID) {
        return AllowedWindowSpaceClassification::classify(bundleID, sources);
    };
}

StageVeskService::StageVeskService(std::shared_ptr<AXWindowManaging> windowManager,
                                   VisibleWindowRectsProvider visibleWindowRectsProvider,
                                   WindowSpaceClassificationProvider windowSpaceClassificationProvider,
                                   StageVeskServiceEnvironment environment)
    : windowManager_(std::move(windowManager))
    , visibleWindowRectsProvider_(std::move(visibleWindowRectsProvider))
    , windowSpaceClassificationProvider_(std::move(windowSpaceClassificationProvider))
    , environment_(std::move(environment))
{
}

StageVeskService::~StageVeskService()
{
    cancelAllPendingFocusWork();
    prewarmReturn_.cancel();
}

// MARK: model

void StageVeskService::setState(const StageVeskState& state)
{
    if (state == state_)
        return;
    state_ = state;
    emit stateChanged();
}

void StageVeskService::setActive(bool active)
{
    if (active == isActive_)
        return;
    isActive_ = active;
    emit isActiveChanged();
}

void StageVeskService::setAccessibilityWarning(std::optional<QString> warning)
{
    if (warning == accessibilityWarning_)
        return;
    accessibilityWarning_ = std::move(warning);
    emit accessibilityWarningChanged();
}

void StageVeskService::setOnAppFullyClosed(std::function<void(const QString&)> handler)
{
    onAppFullyClosed_ = std::move(handler);
}

QString StageVeskService::displayName(const QString& bundleID) const
{
    if (const auto* record = state_.app(bundleID))
        return record->displayName;
    const auto name = displayNamesByBundleID_.find(bundleID);
    return name != displayNamesByBundleID_.end() ? name->second : bundleID;
}

std::optional<StageVeskPhase> StageVeskService::defaultScreenPhase() const
{
    const auto entry = state_.phaseByScreen.find(state_.defaultScreenID);
    if (entry == state_.phaseByScreen.end())
        return std::nullopt;
    return entry->second;
}

Rect StageVeskService::defaultWindowFrame(std::optional<StageVeskScreenID> screen) const
{
    return StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
}

StageVeskScreenID StageVeskService::screenForRect(const Rect& rect) const
{
    return StageVeskScreenID::forRect(environment_.screens, rect);
}

StageVeskScreenID StageVeskService::mainScreenID() const
{
    return StageVeskScreenID::mainScreenID(environment_.screens);
}

QString StageVeskService::phaseText(StageVeskScreenID screen) const
{
    return toRaw(state_.phase(screen));
}

void StageVeskService::assignFreePosition(const QString& bundleID, const Rect& frame, StageVeskScreenID screen,
                                          const Rect& area)
{
    const QDateTime now = environment_.clock.now();
    changeState(
        [&](StageVeskState& state) { state.placeFree(bundleID, clampFrameToVisible(frame, area), screen, now); });
}

const StageVeskAppState* StageVeskService::openApp(const QString& bundleID) const
{
    const StageVeskAppState* record = isActive_ ? state_.app(bundleID) : nullptr;
    return record && record->isOpen ? record : nullptr;
}

void StageVeskService::log(VeskLogLevel level, const QString& message) const
{
    logger_.log(level, QStringLiteral("[StageVeskService] ") + message);
}

double StageVeskService::secondsSince(const QDateTime& date) const
{
    return date.msecsTo(environment_.clock.now()) / 1000.0;
}

// MARK: lifecycle and configuration

void StageVeskService::activate(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames,
                                std::optional<StageVeskScreenID> initialScreen)
{
    const QStringList sorted(allowedBundleIDs.begin(), allowedBundleIDs.end());
    if (displayNamesByBundleID_ != displayNames)
        displayNamesByBundleID_ = displayNames;
    const StageVeskScreenID screen = initialScreen.value_or(mainScreenID());
    anchorScreenID_ = screen;

    const QDateTime now = environment_.clock.now();
    StageVeskState fresh;
    fresh.defaultScreenID = screen;
    for (const QString& bundleID : sorted)
        fresh.apps.insert(StageVeskState::makeInitialAppEntry(bundleID, displayNames, screen, now));
    fresh.appOrder = sorted;
    if (!sorted.isEmpty()) {
        fresh.activeBundleID = sorted.front();
        fresh.activeBundleIDByScreen[screen] = sorted.front();
    }
    setState(fresh);

    const std::map<QString, Rect> seeded = seedVisibleWindows(sorted);
    prewarmDisplayRegistration(seeded);
    setActive(true);
    const bool trusted = environment_.isAccessibilityTrusted();
    setAccessibilityWarning(trusted ? std::nullopt : std::optional<QString>(accessibilityWarningText));

    QStringList pending;
    for (const QString& bundleID : sorted) {
        if (!seeded.contains(bundleID)) {
            pendingStagePlacement_[bundleID] = screen;
            pending << bundleID;
        }
    }
    const auto mainScreen = environment_.screens.mainScreen();
    log(VeskLogLevel::info,
        QStringLiteral("activated — apps=%1, phase=%2, initialScreenID=%3, initialScreenSource=%4, mainScreenID=%5, "
                       "trusted=%6, pendingStartPlacements=%7")
            .arg(arrayText(sorted), phaseText(screen), QString::number(screen.rawValue),
                 initialScreen ? QStringLiteral("explicit") : QStringLiteral("derived"),
                 mainScreen ? QString::number(StageVeskScreenID::of(*mainScreen).rawValue) : QStringLiteral("none"),
                 boolText(!accessibilityWarning_), arrayText(pending)));

    syncWindows(QStringLiteral("activate"));
    reconciliationTimer_ = std::make_unique<MainQueueTimer>(environment_.scheduler, reconciliationInterval, [this] {
        reconcileVisibleWindows(QStringLiteral("timer"));
    });
    reconciliationTimer_->start();
    if (!pending.isEmpty())
        startPlacementBurst();
}

void StageVeskService::deactivate()
{
    if (!isActive_)
        return;
    reconciliationTimer_.reset();
    cancelAllPendingFocusWork();
    prewarmedBundleIDs_.clear();
    zoomRestorePositions_.clear();
    pendingStagePlacement_.clear();
    pendingCloseVerification_.clear();
    placementEnforcement_.clear();
    stopPlacementBurst();
    lastUserDragAt_.reset();
    // A window out on the other display still comes back; nothing else waits.
    prewarmQueue_.clear();
    isPrewarming_ = false;
    recentPlacements_.clear();
    anchorScreenID_ = StageVeskScreenID{};
    setActive(false);
    setAccessibilityWarning(std::nullopt);
    displayNamesByBundleID_.clear();
    log(VeskLogLevel::info, QStringLiteral("deactivated"));
}

void StageVeskService::updateAllowlist(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames)
{
    if (!isActive_)
        return;
    for (const auto& [bundleID, name] : displayNames)
        displayNamesByBundleID_[bundleID] = name;
    const std::set<QString> present(state_.appOrder.begin(), state_.appOrder.end());
    std::set<QString> added;
    std::set<QString> removed;
    std::set_difference(allowedBundleIDs.begin(), allowedBundleIDs.end(), present.begin(), present.end(),
                        std::inserter(added, added.end()));
    std::set_difference(present.begin(), present.end(), allowedBundleIDs.begin(), allowedBundleIDs.end(),
                        std::inserter(removed, removed.end()));

    const QDateTime now = environment_.clock.now();
    changeState([&](StageVeskState& state) {
        for (const QString& bundleID : added) {
            if (auto entry = state.apps.find(bundleID); entry != state.apps.end()) {
                entry->second.lastTouched = now;
                continue;
            }
            state.appOrder << bundleID;
            state.apps.insert(
                StageVeskState::makeInitialAppEntry(bundleID, displayNamesByBundleID_, anchorScreenID_, now));
        }
        for (const QString& bundleID : removed)
            state.removeApp(bundleID);
    });
    for (const QString& bundleID : removed) {
        zoomRestorePositions_.erase(bundleID);
        pendingStagePlacement_.erase(bundleID);
        pendingCloseVerification_.erase(bundleID);
        placementEnforcement_.erase(bundleID);
        recentPlacements_.erase(bundleID);
    }
    log(VeskLogLevel::info,
        QStringLiteral("allowlist updated — added=%1, removed=%2").arg(listText(added), listText(removed)));
    syncWindows(QStringLiteral("allowlistUpdate"));
}

void StageVeskService::requestStagePlacement(const QString& bundleID, StageVeskScreenID screen)
{
    if (!isActive_)
        return;
    pendingStagePlacement_[bundleID] = screen;
    log(VeskLogLevel::info, QStringLiteral("requested stage placement — bundleID=%1, screenID=%2")
                                .arg(bundleID, QString::number(screen.rawValue)));
    reconcileVisibleWindows(QStringLiteral("requestStagePlacement"));
    startPlacementBurst();
}

void StageVeskService::setPhase(StageVeskPhase phase, StageVeskScreenID screen)
{
    if (!isActive_)
        return;
    const StageVeskPhase previous = state_.phase(screen);
    const Rect area = defaultWindowFrame(screen);
    const QDateTime now = environment_.clock.now();
    changeState([&](StageVeskState& state) { state.applyLayout(phase, screen, now, area); });
    log(VeskLogLevel::info, QStringLiteral("phase changed — screenID=%1, from=%2, to=%3")
                                .arg(QString::number(screen.rawValue), toRaw(previous), toRaw(phase)));
    syncWindows(QStringLiteral("phaseChanged"));
}

// MARK: user actions

void StageVeskService::closeApp(const QString& bundleID, Point quartzClickPoint, bool)
{
    if (!isActive_)
        return;
    zoomRestorePositions_.erase(bundleID);
    pendingCloseVerification_[bundleID] = environment_.clock.now();
    const bool didRequestClose = windowManager_->closeWindow(bundleID, quartzClickPoint);
    log(VeskLogLevel::info, QStringLiteral("close verification pending — bundleID=%1, didRequestClose=%2, point=%3")
                                .arg(bundleID, boolText(didRequestClose), toString(quartzClickPoint)));
    startPlacementBurst();
}

void StageVeskService::moveToQueue(const QString& bundleID)
{
    if (!isActive_)
        return;
    zoomRestorePositions_.erase(bundleID);
    pendingStagePlacement_.erase(bundleID);
    placementEnforcement_.erase(bundleID);
    changeState([&](StageVeskState& state) { state.moveToQueue(bundleID); });
    windowManager_->hide(bundleID);
    log(VeskLogLevel::info, QStringLiteral("moved app to Vesk queue — bundleID=%1, queue=%2")
                                .arg(bundleID, arrayText(state_.queuedBundleIDs())));
}

void StageVeskService::toggleZoom(const QString& bundleID)
{
    const StageVeskAppState* record = openApp(bundleID);
    if (!record)
        return;
    const StageVeskScreenID screen = record->screenID.value_or(mainScreenID());
    const Rect zoomed = zoomFrame(defaultWindowFrame(screen));
    const bool isZoomed = record->position && isNearlySameFrame(record->position->rect(), zoomed);

    Rect target = zoomed;
    StageVeskScreenID targetScreen = screen;
    std::optional<StageVeskWindowPosition> restore;
    if (isZoomed) {
        if (const auto saved = zoomRestorePositions_.find(bundleID); saved != zoomRestorePositions_.end()) {
            restore = saved->second;
            zoomRestorePositions_.erase(saved);
        }
        target = restore ? restore->rect() : freestyleFrame(defaultWindowFrame(screen), 0.5, 0.5, 1, 1);
        targetScreen = restore ? screenForRect(target) : screen;
    } else if (record->position && !zoomRestorePositions_.contains(bundleID)) {
        zoomRestorePositions_[bundleID] = *record->position;
    }

    // The model follows only on a free screen; a slot keeps its place and the
    // next sync puts the window back.
    const QDateTime now = environment_.clock.now();
    const Rect stateFrame = isZoomed ? clampFrameToVisible(target, defaultWindowFrame(targetScreen)) : target;
    changeState([&](StageVeskState& state) { state.placeFree(bundleID, stateFrame, targetScreen, now); });

    const StageVeskAppState* updated = state_.app(bundleID);
    const Rect windowFrame = updated && updated->position ? updated->position->rect() : target;
    if (windowManager_->setFrame(bundleID, windowFrame))
        windowManager_->raise(bundleID);
    const QString reason = isZoomed ? QStringLiteral("zoomRestore") : QStringLiteral("zoom");
    raiseApp(bundleID, reason);
    if (isZoomed) {
        log(VeskLogLevel::info,
            QStringLiteral("restored app from Vesk zoom — bundleID=%1, hadRestorePosition=%2, rect=%3")
                .arg(bundleID, boolText(restore.has_value()), toString(target)));
    } else {
        log(VeskLogLevel::info,
            QStringLiteral("zoomed app via Vesk action — bundleID=%1, hasRestorePosition=%2, rect=%3")
                .arg(bundleID, boolText(zoomRestorePositions_.contains(bundleID)), toString(zoomed)));
    }
}

void StageVeskService::restoreFromQueue(const QString& bundleID, StageVeskScreenID fallbackScreen)
{
    const StageVeskAppState* record = openApp(bundleID);
    if (!record)
        return;
    const QDateTime now = environment_.clock.now();
    if (record->isParked)
        changeState([&](StageVeskState& state) { state.unpark(bundleID, now); });

    const auto saved = state_.savedPlacement(bundleID);
    if (!saved) {
        log(VeskLogLevel::info,
            QStringLiteral("restore from queue without saved frame — bundleID=%1, fallbackScreenID=%2")
                .arg(bundleID, QString::number(fallbackScreen.rawValue)));
        placeFreestyle(bundleID, fallbackScreen, 0.5, 0.5, 1, 1);
        return;
    }
    const StageVeskScreenID screen = saved->screenID.value_or(fallbackScreen);
    const Rect area = defaultWindowFrame(screen);
    const Rect frame = clampFrameToVisible(saved->position.rect(), area);
    zoomRestorePositions_.erase(bundleID);
    changeState([&](StageVeskState& state) {
        state.applyLayout(StageVeskPhase::freestyle, screen, now, area);
        state.placeFree(bundleID, frame, screen, now);
    });
    recentPlacements_[bundleID] = now;
    log(VeskLogLevel::info,
        QStringLiteral("restored app from queue with saved frame — bundleID=%1, screenID=%2, rect=%3")
            .arg(bundleID, QString::number(screen.rawValue), toString(frame)));
    syncWindows(QStringLiteral("restoreFromQueue"));
    raiseApp(bundleID, QStringLiteral("restoreFromQueue"));
}

// MARK: drags

void StageVeskService::syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                                    std::optional<StageVeskScreenID> pointerScreen, Rect windowRect)
{
    const StageVeskAppState* record = openApp(bundleID);
    if (!record)
        return;
    const QDateTime now = environment_.clock.now();
    lastUserDragAt_ = now;
    const std::optional<StageVeskScreenID> previousScreen = record->screenID;
    const StageVeskScreenID majorityScreen = screenForRect(windowRect);
    const StageVeskScreenID target = pointerScreen.value_or(majorityScreen);
    const StageVeskPhase previousPhase = state_.phase(target);
    zoomRestorePositions_.erase(bundleID);
    const bool flipsPhase = previousPhase != StageVeskPhase::freestyle;
    const Rect area = defaultWindowFrame(target);
    changeState([&](StageVeskState& state) {
        if (flipsPhase)
            state.applyLayout(StageVeskPhase::freestyle, target, now, area);
        state.recordUserFrame(bundleID, target, true, now, windowRect);
    });

    bool seamTouch = false;
    for (const platform::ScreenInfo& screen : environment_.screens.screens()) {
        const Rect frame = rectFromQRectF(screen.frame);
        const auto touches = [](double a, double b) { return std::abs(a - b) <= seamTouchTolerance; };
        if (touches(windowRect.maxY(), frame.maxY()) || touches(windowRect.minY(), frame.minY())
            || touches(windowRect.maxX(), frame.maxX()) || touches(windowRect.minX(), frame.minX())) {
            seamTouch = true;
            break;
        }
    }
    log(VeskLogLevel::info,
        QStringLiteral("synced user drag — bundleID=%1, phase=%2->%3, didFlipPhase=%4, screen=%5->%6, "
                       "rectMajorityScreen=%7, pointerScreen=%8, pointer=%9")
                .arg(bundleID, toRaw(previousPhase), phaseText(target), boolText(flipsPhase),
                     screenText(previousScreen), screenText(target), screenText(majorityScreen),
                     pointerScreen ? screenText(pointerScreen) : QStringLiteral("n/a"),
                     pointer ? toString(*pointer) : QStringLiteral("nil"))
            + QStringLiteral(", seamTouch=%1, rect=%2").arg(boolText(seamTouch), toString(windowRect)));
}

void StageVeskService::handleSeamDragHandoff(const QString& bundleID, Point pointer)
{
    const StageVeskAppState* record = openApp(bundleID);
    if (!record)
        return;
    const auto destination = StageVeskScreenID::forPoint(environment_.screens, pointer);
    if (!destination) {
        log(VeskLogLevel::debug,
            QStringLiteral("seam-drag handoff skipped — pointer on no known screen, bundleID=%1, pointer=%2")
                .arg(bundleID, toString(pointer)));
        return;
    }
    if (record->screenID == destination) {
        log(VeskLogLevel::debug,
            QStringLiteral("seam-drag handoff skipped — pointer already on window screen, bundleID=%1, screen=%2")
                .arg(bundleID, screenText(destination)));
        return;
    }
    Size size = handoffFallbackSize;
    const auto visible = visibleWindowRectsProvider_({bundleID});
    if (const auto rect = visible.find(bundleID); rect != visible.end())
        size = rect->second.size();
    else if (record->position)
        size = record->position->rect().size();
    const Rect bounds = defaultWindowFrame(destination);
    const Rect drop = fitScaledFrame({pointer.x - size.width / 2, pointer.y + handoffTitleBarOffset - size.height,
                                      size.width, size.height},
                                     sizeShare, bounds);
    const std::optional<StageVeskScreenID> previousScreen = record->screenID;
    const QDateTime now = environment_.clock.now();
    changeState(
        [&](StageVeskState& state) { state.applyLayout(StageVeskPhase::freestyle, *destination, now, bounds); });
    zoomRestorePositions_.erase(bundleID);
    assignFreePosition(bundleID, drop, *destination, bounds);
    recentPlacements_[bundleID] = now;
    placementEnforcement_[bundleID] = {*destination, enforcementAttempts,
                                       now.addMSecs(qint64(enforcementWindowSeconds * 1000)), now};
    log(VeskLogLevel::info,
        QStringLiteral("seam-drag handoff — bundleID=%1, fromScreen=%2, toScreen=%3, pointer=%4, targetBounds=%5, "
                       "dropRect=%6, enforcement=true")
            .arg(bundleID, screenText(previousScreen), screenText(destination), toString(pointer), toString(bounds),
                 toString(drop)));
    syncWindows(QStringLiteral("seamDragHandoff"));
    raiseApp(bundleID, QStringLiteral("seamDragHandoff"));
    startPlacementBurst();
}

// MARK: window sync, seeding and the display prewarm

void StageVeskService::syncWindows(const QString& reason)
{
    if (!isActive_)
        return;
    const bool verbose = reason == QLatin1String("activate");
    const QStringList order = state_.appOrder;
    for (const QString& bundleID : order) {
        const StageVeskAppState* record = state_.app(bundleID);
        if (!record || !record->isOpen)
            continue;
        if (exitNativeFullScreen(bundleID))
            continue;
        record = state_.app(bundleID);
        const StageVeskScreenID screen = record->screenID.value_or(mainScreenID());
        if (record->slot || record->position) {
            const Rect frame = record->slot ? slotFrame(state_.phase(screen), *record->slot, defaultWindowFrame(screen))
                                            : record->position->rect();
            const std::optional<int> slot = record->slot;
            setFrameDuringRecentDrag(reason, bundleID, frame);
            const bool ok = windowManager_->setFrame(bundleID, frame);
            if (verbose) {
                const QString slotField = slot ? QStringLiteral(", slot=%1").arg(*slot) : QString();
                log(VeskLogLevel::debug,
                    QStringLiteral("sync setFrame — reason=%1, bundleID=%2, screenID=%3%4, rect=%5, ok=%6")
                        .arg(reason, bundleID, QString::number(screen.rawValue), slotField, toString(frame),
                             boolText(ok)));
            }
        } else if (pendingStagePlacement_.contains(bundleID)) {
            log(VeskLogLevel::debug,
                QStringLiteral("sync hide skipped (pending stage placement) — reason=%1, bundleID=%2")
                    .arg(reason, bundleID));
            continue;
        } else {
            const bool ok = windowManager_->hide(bundleID);
            if (verbose)
                log(VeskLogLevel::debug,
                    QStringLiteral("sync hide — reason=%1, bundleID=%2, ok=%3").arg(reason, bundleID, boolText(ok)));
            continue;
        }
        const auto screenActive = state_.activeBundleIDByScreen.find(screen);
        const bool isActiveApp = screenActive != state_.activeBundleIDByScreen.end()
                                     ? screenActive->second == bundleID
                                     : state_.activeBundleID == bundleID;
        if (isActiveApp) {
            const bool ok = windowManager_->raise(bundleID);
            if (verbose)
                log(VeskLogLevel::debug,
                    QStringLiteral("sync raise — reason=%1, bundleID=%2, ok=%3").arg(reason, bundleID, boolText(ok)));
        }
    }
    std::set<QString> hidden;
    for (const auto& [bundleID, record] : state_.apps) {
        if (record.isOpen && (record.isParked || (!record.slot && !record.position)))
            hidden.insert(bundleID);
    }
    log(VeskLogLevel::debug, QStringLiteral("synced windows — reason=%1, visible=%2, hidden=%3")
                                 .arg(reason, listText(state_.stagedBundleIDs()), listText(hidden)));
}

void StageVeskService::setFrameDuringRecentDrag(const QString& reason, const QString& bundleID, const Rect& rect)
{
    if (reason == QLatin1String("activate") || !lastUserDragAt_)
        return;
    const qint64 sinceDrag = lastUserDragAt_->msecsTo(environment_.clock.now());
    if (sinceDrag > recentDragMilliseconds)
        return;
    log(VeskLogLevel::warning,
        QStringLiteral("setFrame during recent drag — reason=%1, bundleID=%2, msSinceDrag=%3, rect=%4")
            .arg(reason, bundleID, QString::number(sinceDrag), toString(rect)));
}

bool StageVeskService::exitNativeFullScreen(const QString& bundleID)
{
    if (!windowManager_->isFullScreen(bundleID))
        return false;
    const bool ok = windowManager_->exitFullScreen(bundleID);
    log(VeskLogLevel::info,
        QStringLiteral("exiting native fullscreen — bundleID=%1, ok=%2").arg(bundleID, boolText(ok)));
    return true;
}

std::map<QString, Rect> StageVeskService::seedVisibleWindows(const QStringList& bundleIDs)
{
    const std::map<QString, Rect> rects = visibleWindowRectsProvider_({bundleIDs.begin(), bundleIDs.end()});
    QStringList entries;
    for (const QString& bundleID : bundleIDs) {
        const auto rect = rects.find(bundleID);
        if (rect == rects.end()) {
            entries << bundleID + QStringLiteral("{seeded=false}");
            continue;
        }
        const StageVeskScreenID screen = screenForRect(rect->second);
        const Rect area = defaultWindowFrame(screen);
        const Rect seeded = clampFrameToVisible(cappedFrame(rect->second, area), area);
        assignFreePosition(bundleID, seeded, screen, area);
        entries << bundleID
                       + QStringLiteral("{seeded=true,screenID=%1,rect=%2}")
                             .arg(QString::number(screen.rawValue), toString(seeded));
    }
    log(VeskLogLevel::info, QStringLiteral("seeded visible windows — ") + entries.join(QStringLiteral("; ")));
    return rects;
}

// Each newly seen window goes once to another display and back, so that the
// window server registers it on both. The dwell runs on the scheduler: other
// work goes on meanwhile, and the reconciliation waits until it is over.
void StageVeskService::prewarmDisplayRegistration(const std::map<QString, Rect>& visibleWindows)
{
    if (StageVeskScreenID::allScreenIDs(environment_.screens).size() <= 1)
        return;
    for (const auto& [bundleID, rect] : visibleWindows) {
        if (!prewarmedBundleIDs_.contains(bundleID)) {
            prewarmedBundleIDs_.insert(bundleID);
            prewarmQueue_.emplace_back(bundleID, rect);
        }
    }
    if (!prewarmReturn_.isPending())
        runNextPrewarm();
}

void StageVeskService::runNextPrewarm()
{
    while (!prewarmQueue_.empty()) {
        const QString bundleID = prewarmQueue_.front().first;
        const Rect original = prewarmQueue_.front().second;
        prewarmQueue_.erase(prewarmQueue_.begin());
        const StageVeskScreenID source = screenForRect(original);
        const auto screens = StageVeskScreenID::allScreenIDs(environment_.screens);
        const auto target = std::find_if(screens.begin(), screens.end(), [&](auto id) { return id != source; });
        if (target == screens.end())
            continue;
        const Rect area = defaultWindowFrame(*target);
        const double width = std::min(original.width, area.width);
        const double height = std::min(original.height, area.height);
        const Rect targetRect{area.midX() - width / 2, area.midY() - height / 2, width, height};
        isPrewarming_ = true;
        const bool setOutOk = windowManager_->setPosition(bundleID, targetRect);
        const bool raiseOutOk = windowManager_->raise(bundleID);
        const StageVeskScreenID targetScreen = *target;
        prewarmReturn_ = environment_.scheduler.asyncAfter(prewarmDwell, [=, self = QPointer(this)] {
            if (!self)
                return;
            const bool restoreOk = self->windowManager_->setPosition(bundleID, original);
            const bool raiseBackOk = self->windowManager_->raise(bundleID);
            self->log(VeskLogLevel::info,
                      QStringLiteral("prewarm display registration — bundleID=%1, sourceScreen=%2, targetScreen=%3, "
                                     "originalRect=%4, targetRect=%5, setOutOk=%6, raiseOutOk=%7, restoreOk=%8, ")
                              .arg(bundleID, QString::number(source.rawValue), QString::number(targetScreen.rawValue),
                                   toString(original), toString(targetRect), boolText(setOutOk), boolText(raiseOutOk),
                                   boolText(restoreOk))
                          + QStringLiteral("raiseBackOk=%1, dwellMs=500").arg(boolText(raiseBackOk)));
            self->runNextPrewarm();
        });
        return;
    }
    isPrewarming_ = false;
}

// MARK: reconciliation

void StageVeskService::reconcileVisibleWindows(const QString& reason)
{
    if (!isActive_)
        return;
    if (isPrewarming_) {
        log(VeskLogLevel::debug, QStringLiteral("reconcile skipped — prewarm in progress, reason=") + reason);
        return;
    }
    // The walk goes over the order as the pass began; records are looked up
    // anew after every step, since a step may change them.
    const QStringList order = state_.appOrder;
    const std::map<QString, Rect> rects = visibleWindowRectsProvider_({order.begin(), order.end()});
    QStringList changed;
    for (const QString& bundleID : order) {
        if (!isActive_)
            return;
        const auto rect = rects.find(bundleID);
        reconcileApp(bundleID, rect != rects.end() ? std::optional<Rect>(rect->second) : std::nullopt, reason, changed);
    }
    if (changed.isEmpty())
        return;
    changed.sort();
    log(VeskLogLevel::info, QStringLiteral("reconciled visible windows — reason=%1, changed=%2, queue=%3")
                                .arg(reason, arrayText(changed), arrayText(state_.queuedBundleIDs())));
}

void StageVeskService::reconcileApp(const QString& bundleID, const std::optional<Rect>& rect, const QString& reason,
                                    QStringList& changed)
{
    if (verifyClose(bundleID, rect)) {
        changed << bundleID;
        return;
    }
    const QDateTime now = environment_.clock.now();
    const StageVeskAppState* record = state_.app(bundleID);
    if (record && !record->isOpen && !pendingCloseVerification_.contains(bundleID) && rect) {
        changeState([&](StageVeskState& state) { state.reopen(bundleID, now); });
        log(VeskLogLevel::info, QStringLiteral("reopened app — window reappeared after close, bundleID=") + bundleID);
        changed << bundleID;
    }
    record = state_.app(bundleID);
    if (!record || !record->isOpen)
        return;
    if (exitNativeFullScreen(bundleID))
        return;

    if (const auto pending = pendingStagePlacement_.find(bundleID); pending != pendingStagePlacement_.end()) {
        if (!rect)
            return;
        const StageVeskScreenID target = pending->second;
        pendingStagePlacement_.erase(pending);
        log(VeskLogLevel::info,
            QStringLiteral(
                "pending stage placement firing — bundleID=%1, targetScreen=%2, windowScreen=%3, windowRect=%4")
                .arg(bundleID, QString::number(target.rawValue), QString::number(screenForRect(*rect).rawValue),
                     toString(*rect)));
        placeFreestyle(bundleID, target, 0.5, 0.5, 1, 1);
        placementEnforcement_[bundleID] = {target, enforcementAttempts,
                                           now.addMSecs(qint64(enforcementWindowSeconds * 1000)), now};
        changed << bundleID;
        return;
    }
    if (enforcePlacement(bundleID, rect)) {
        changed << bundleID;
        return;
    }
    record = state_.app(bundleID);
    if (!record)
        return;
    if (record->isParked || (!record->slot && !record->position)) {
        if (rect) {
            windowManager_->hide(bundleID);
            changed << bundleID;
        }
        return;
    }
    if (rect) {
        reconcileVisibleApp(bundleID, *rect, changed);
        return;
    }

    const AllowedWindowSpaceClassification classification = windowSpaceClassificationProvider_(bundleID);
    if (classification.state == AllowedWindowSpaceState::onOtherSpace) {
        log(VeskLogLevel::warning,
            QStringLiteral("queue move skipped — window exists on another Space, bundleID=%1, reason=%2, %3")
                .arg(bundleID, reason, classification.description()));
        return;
    }
    if (const auto placed = recentPlacements_.find(bundleID);
        placed != recentPlacements_.end() && secondsSince(placed->second) < placementGraceSeconds) {
        log(VeskLogLevel::debug,
            QStringLiteral("queue move deferred (placement grace) — bundleID=%1, reason=%2").arg(bundleID, reason));
        return;
    }
    handleWindowDisappeared(bundleID, reason);
    changeState([&](StageVeskState& state) { state.moveToQueue(bundleID); });
    changed << bundleID;
}

void StageVeskService::reconcileVisibleApp(const QString& bundleID, const Rect& rect, QStringList& changed)
{
    const StageVeskAppState& record = *state_.app(bundleID);
    const StageVeskScreenID screen = !record.position && record.screenID ? *record.screenID : screenForRect(rect);
    if (state_.phase(screen) != StageVeskPhase::freestyle)
        return;
    if (!record.position) {
        prewarmDisplayRegistration({{bundleID, rect}});
        const Rect area = defaultWindowFrame(screen);
        assignFreePosition(bundleID, clampFrameToVisible(cappedFrame(rect, area), area), screen, area);
        changed << bundleID;
        return;
    }
    const std::optional<StageVeskScreenID> previousScreen = record.screenID;
    const QDateTime now = environment_.clock.now();
    changeState([&](StageVeskState& state) { state.recordUserFrame(bundleID, screen, false, now, rect); });
    if (previousScreen != screen) {
        log(VeskLogLevel::info, QStringLiteral("reconciled screen change — bundleID=%1, from=%2, to=%3, rect=%4")
                                    .arg(bundleID, screenText(previousScreen), screenText(screen), toString(rect)));
        changed << bundleID;
    }
}

void StageVeskService::startPlacementBurst()
{
    if (placementBurstTimer_)
        return;
    log(VeskLogLevel::info, QStringLiteral("placement burst started — pending=%1, enforcing=%2, closeVerifications=%3")
                                .arg(pendingStagePlacement_.size())
                                .arg(placementEnforcement_.size())
                                .arg(pendingCloseVerification_.size()));
    const QDateTime end = environment_.clock.now().addMSecs(qint64(burstDuration * 1000));
    placementBurstTimer_ = std::make_unique<MainQueueTimer>(environment_.scheduler, burstInterval,
                                                            [this, end] { placementBurstTick(end); });
    placementBurstTimer_->start();
}

void StageVeskService::stopPlacementBurst()
{
    if (!placementBurstTimer_)
        return;
    placementBurstTimer_.reset();
    log(VeskLogLevel::info, QStringLiteral("placement burst stopped"));
}

void StageVeskService::placementBurstTick(const QDateTime& end)
{
    if (!isActive_)
        return;
    if (environment_.clock.now() > end
        || (pendingStagePlacement_.empty() && placementEnforcement_.empty() && pendingCloseVerification_.empty())) {
        stopPlacementBurst();
        return;
    }
    reconcileVisibleWindows(QStringLiteral("placementBurst"));
}

void StageVeskService::placeFreestyle(const QString& bundleID, StageVeskScreenID screen, double anchorX, double anchorY,
                                      double divisorX, double divisorY)
{
    if (!isActive_)
        return;
    const QDateTime now = environment_.clock.now();
    const Rect base = defaultWindowFrame(screen);
    changeState([&](StageVeskState& state) { state.applyLayout(StageVeskPhase::freestyle, screen, now, base); });
    zoomRestorePositions_.erase(bundleID);
    const Rect frame = freestyleFrame(base, anchorX, anchorY, divisorX, divisorY);
    prewarmDisplayRegistration({{bundleID, frame}});
    assignFreePosition(bundleID, frame, screen, base);
    recentPlacements_[bundleID] = now;
    log(VeskLogLevel::info, QStringLiteral("placed freestyle app — bundleID=%1, screenID=%2, x=%3, y=%4")
                                .arg(bundleID, QString::number(screen.rawValue))
                                .arg(qint64(std::trunc(frame.x)))
                                .arg(qint64(std::trunc(frame.y))));
    syncWindows(QStringLiteral("placeFreestyle"));
    raiseApp(bundleID, QStringLiteral("placeFreestyle"));
}

bool StageVeskService::enforcePlacement(const QString& bundleID, const std::optional<Rect>& rect)
{
    const auto found = placementEnforcement_.find(bundleID);
    if (found == placementEnforcement_.end())
        return false;
    const PlacementEnforcement record = found->second;
    const QDateTime now = environment_.clock.now();
    if (lastUserDragAt_ && *lastUserDragAt_ > record.createdAt
        && lastUserDragAt_->msecsTo(now) < dragCancelsEnforcementMilliseconds) {
        placementEnforcement_.erase(found);
        log(VeskLogLevel::info,
            QStringLiteral(
                "placement enforcement cancelled by newer user drag — bundleID=%1, msSinceCreated=%2, msSinceDrag=%3")
                .arg(bundleID)
                .arg(record.createdAt.msecsTo(now))
                .arg(lastUserDragAt_->msecsTo(now)));
        return false;
    }
    if (now > record.deadline) {
        placementEnforcement_.erase(found);
        log(VeskLogLevel::warning,
            QStringLiteral("placement enforcement gave up (deadline) — bundleID=%1, targetScreen=%2")
                .arg(bundleID, QString::number(record.screenID.rawValue)));
        return false;
    }
    if (!rect)
        return false;
    const StageVeskScreenID actual = screenForRect(*rect);
    if (actual == record.screenID) {
        placementEnforcement_.erase(found);
        log(VeskLogLevel::info, QStringLiteral("placement enforcement succeeded — bundleID=%1, screen=%2, rect=%3")
                                    .arg(bundleID, QString::number(actual.rawValue), toString(*rect)));
        return false;
    }
    if (record.remainingAttempts < 1) {
        placementEnforcement_.erase(found);
        log(VeskLogLevel::warning,
            QStringLiteral(
                "placement enforcement gave up (attempts) — bundleID=%1, targetScreen=%2, actualScreen=%3, rect=%4")
                .arg(bundleID, QString::number(record.screenID.rawValue), QString::number(actual.rawValue),
                     toString(*rect)));
        return false;
    }
    found->second.remainingAttempts = record.remainingAttempts - 1;
    log(VeskLogLevel::info,
        QStringLiteral("placement enforcement retry — bundleID=%1, targetScreen=%2, actualScreen=%3, rect=%4, "
                       "remainingAttempts=%5")
            .arg(bundleID, QString::number(record.screenID.rawValue), QString::number(actual.rawValue), toString(*rect))
            .arg(record.remainingAttempts - 1));
    const StageVeskAppState* app = state_.app(bundleID);
    if (app && app->position && app->screenID == record.screenID) {
        recentPlacements_[bundleID] = now;
        syncWindows(QStringLiteral("placementEnforcement"));
        raiseApp(bundleID, QStringLiteral("placementEnforcement"));
    } else {
        placeFreestyle(bundleID, record.screenID, 0.5, 0.5, 1, 1);
    }
    return true;
}

bool StageVeskService::verifyClose(const QString& bundleID, const std::optional<Rect>& rect)
{
    const auto found = pendingCloseVerification_.find(bundleID);
    if (found == pendingCloseVerification_.end())
        return false;
    if (!rect) {
        pendingCloseVerification_.erase(found);
        changeState([&](StageVeskState& state) { state.markClosed(bundleID); });
        log(VeskLogLevel::info, QStringLiteral("close verified — no windows remain, bundleID=") + bundleID);
        if (const auto handler = onAppFullyClosed_)
            handler(bundleID);
        return true;
    }
    const qint64 elapsed = found->second.msecsTo(environment_.clock.now());
    if (elapsed >= closeCheckMilliseconds) {
        pendingCloseVerification_.erase(found);
        log(VeskLogLevel::info,
            QStringLiteral("close left windows open — keeping app open, bundleID=%1, remaining=visible").arg(bundleID));
        return false;
    }
    log(VeskLogLevel::debug,
        QStringLiteral("close verification pending — bundleID=%1, visibleWindows=true, msElapsed=%2")
            .arg(bundleID)
            .arg(elapsed));
    return false;
}

// MARK: raising

void StageVeskService::raiseApp(const QString& bundleID, const QString& reason)
{
    cancelPendingFocusRaises(bundleID);
    const AllowedWindowSpaceClassification classification = windowSpaceClassificationProvider_(bundleID);
    if (!isRaisable(classification.state)) {
        log(VeskLogLevel::warning, QStringLiteral("raise skipped for non-raisable app — bundleID=%1, reason=%2, %3")
                                       .arg(bundleID, reason, classification.description()));
        return;
    }
    windowManager_->raise(bundleID);
    std::vector<WorkItem> items;
    for (const double delay : focusRepeatDelays) {
        items.push_back(environment_.scheduler.asyncAfter(delay, [=, self = QPointer(this)] {
            if (self)
                self->repeatRaise(bundleID, reason, delay);
        }));
    }
    pendingFocusWorkItems_[bundleID] = std::move(items);
}

void StageVeskService::repeatRaise(const QString& bundleID, const QString& reason, double delay)
{
    if (!isActive_ || state_.activeBundleID != bundleID || !state_.stagedBundleIDs().contains(bundleID))
        return;
    const AllowedWindowSpaceClassification classification = windowSpaceClassificationProvider_(bundleID);
    if (isRaisable(classification.state)) {
        windowManager_->raise(bundleID);
        log(VeskLogLevel::debug, QStringLiteral("repeated focus raise — bundleID=%1, reason=%2, delay=%3")
                                     .arg(bundleID, reason, doubleText(delay)));
        return;
    }
    cancelPendingFocusRaises(bundleID);
    log(VeskLogLevel::warning,
        QStringLiteral("repeated raise skipped for non-raisable app — bundleID=%1, reason=%2, delay=%3, %4")
            .arg(bundleID, reason, doubleText(delay), classification.description()));
}

void StageVeskService::cancelPendingFocusRaises(const QString& bundleID)
{
    const auto found = pendingFocusWorkItems_.find(bundleID);
    if (found == pendingFocusWorkItems_.end())
        return;
    for (WorkItem& item : found->second)
        item.cancel();
    pendingFocusWorkItems_.erase(found);
}

void StageVeskService::cancelAllPendingFocusWork()
{
    for (auto& [bundleID, items] : pendingFocusWorkItems_) {
        for (WorkItem& item : items)
            item.cancel();
    }
    pendingFocusWorkItems_.clear();
}

void StageVeskService::handleWindowDisappeared(const QString& bundleID, const QString& reason)
{
    std::vector<AllowedWindowSnapshot> own;
    for (const AllowedWindowSnapshot& window : environment_.onScreenWindowSnapshots()) {
        if (window.bundleID == bundleID)
            own.push_back(window);
    }
    if (own.empty()) {
        log(VeskLogLevel::warning, QStringLiteral("window disappeared — bundleID=%1, reason=%2, no CGWindow snapshots "
                                                  "at all (window really gone or off-screen)")
                                       .arg(bundleID, reason));
        return;
    }
    const auto geometry = DisplayGeometry::current(environment_.screens);
    QStringList descriptions;
    for (const AllowedWindowSnapshot& window : own)
        descriptions << describeWindowCandidate(window, geometry);
    log(VeskLogLevel::warning,
        QStringLiteral("window filtered out before queue move — bundleID=%1, reason=%2, snapshots=%3: %4")
            .arg(bundleID, reason)
            .arg(own.size())
            .arg(descriptions.join(QStringLiteral("; "))));
}

} // namespace vesk
