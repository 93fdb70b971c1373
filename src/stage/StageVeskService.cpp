#include "stage/StageVeskService.h"

#include "stage/StageVeskLog.h"
#include "stage/StageVeskWindowCandidates.h"

#include "core/TextFormat.h"
#include "overlay/DisplayGeometry.h"

#include <algorithm>

namespace vesk {

namespace {

const QString accessibilityWarningText =
    QStringLiteral("Bedienungshilfen-Berechtigung fehlt: Fenster können nicht automatisch angeordnet werden.");

constexpr double reconciliationInterval = 0.8;

// A fresh stage on the screen: every application open without a place yet,
// the first of them active.
StageVeskState freshState(const QStringList& bundleIDs, const StageVeskControlling::DisplayNames& displayNames,
                          StageVeskScreenID screen, const QDateTime& now)
{
    StageVeskState fresh;
    fresh.defaultScreenID = screen;
    for (const QString& bundleID : bundleIDs)
        fresh.apps.insert(StageVeskState::makeInitialAppEntry(bundleID, displayNames, screen, now));
    fresh.appOrder = bundleIDs;
    if (!bundleIDs.isEmpty()) {
        fresh.activeBundleID = bundleIDs.front();
        fresh.activeBundleIDByScreen[screen] = bundleIDs.front();
    }
    return fresh;
}

std::set<QString> difference(const std::set<QString>& items, const std::set<QString>& without)
{
    std::set<QString> result;
    std::set_difference(items.begin(), items.end(), without.begin(), without.end(),
                        std::inserter(result, result.end()));
    return result;
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
    , model_({[this] { emit stateChanged(); }, [this] { emit isActiveChanged(); }})
    , sync_(model_, records_, *windowManager_, visibleWindowRectsProvider_, environment_)
    , prewarm_(*windowManager_, sync_, environment_.screens, environment_.scheduler)
    , raiser_(model_, *windowManager_, windowSpaceClassificationProvider_, environment_.scheduler)
    , placement_(model_, records_, sync_, prewarm_, raiser_, environment_)
    , reconciliation_(model_, records_, placement_, sync_, prewarm_, *windowManager_, visibleWindowRectsProvider_,
                      windowSpaceClassificationProvider_, environment_)
    , burst_(model_, records_, reconciliation_, environment_)
    , userActions_(model_, records_, *windowManager_, sync_, placement_, raiser_, burst_, environment_)
    , drags_(model_, records_, visibleWindowRectsProvider_, sync_, raiser_, burst_, environment_)
{
}

StageVeskService::~StageVeskService() = default;

void StageVeskService::setAccessibilityWarning(std::optional<QString> warning)
{
    if (warning == accessibilityWarning_)
        return;
    accessibilityWarning_ = std::move(warning);
    emit accessibilityWarningChanged();
}

void StageVeskService::setOnAppFullyClosed(std::function<void(const QString&)> handler)
{
    reconciliation_.setOnAppFullyClosed(std::move(handler));
}

QString StageVeskService::displayName(const QString& bundleID) const
{
    if (const auto* record = state().app(bundleID))
        return record->displayName;
    const auto name = displayNamesByBundleID_.find(bundleID);
    return name != displayNamesByBundleID_.end() ? name->second : bundleID;
}

std::optional<StageVeskPhase> StageVeskService::defaultScreenPhase() const
{
    const auto entry = state().phaseByScreen.find(state().defaultScreenID);
    if (entry == state().phaseByScreen.end())
        return std::nullopt;
    return entry->second;
}

// MARK: lifecycle and configuration

void StageVeskService::activate(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames,
                                std::optional<StageVeskScreenID> initialScreen)
{
    // By display name; equal names keep the identifiers' order.
    QStringList sorted(allowedBundleIDs.begin(), allowedBundleIDs.end());
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&](const QString& a, const QString& b) { return displayNameOrder(a, b, displayNames); });
    if (displayNamesByBundleID_ != displayNames)
        displayNamesByBundleID_ = displayNames;
    const StageVeskScreenID screen = initialScreen.value_or(StageVeskScreenID::mainScreenID(environment_.screens));
    anchorScreenID_ = screen;
    model_.setState(freshState(sorted, displayNames, screen, environment_.clock.now()));

    const std::map<QString, Rect> seeded = sync_.seedVisibleWindows(sorted);
    prewarm_.prewarm(seeded);
    model_.setActive(true);
    const bool trusted = environment_.isAccessibilityTrusted();
    setAccessibilityWarning(trusted ? std::nullopt : std::optional<QString>(accessibilityWarningText));

    const QStringList pending = markPendingStartPlacements(sorted, seeded, screen);
    logActivation(sorted, screen, initialScreen.has_value(), pending);
    sync_.syncWindows(QStringLiteral("activate"));
    startReconciliationTimer();
    if (!pending.isEmpty())
        burst_.start();
}

QStringList StageVeskService::markPendingStartPlacements(const QStringList& bundleIDs,
                                                         const std::map<QString, Rect>& seeded,
                                                         StageVeskScreenID screen)
{
    QStringList pending;
    for (const QString& bundleID : bundleIDs) {
        if (!seeded.contains(bundleID)) {
            records_.pendingStagePlacements[bundleID] = screen;
            pending << bundleID;
        }
    }
    return pending;
}

void StageVeskService::logActivation(const QStringList& bundleIDs, StageVeskScreenID screen, bool explicitScreen,
                                     const QStringList& pending) const
{
    const auto mainScreen = environment_.screens.mainScreen();
    logStage(VeskLogLevel::info,
             QStringLiteral("activated — apps=%1, phase=%2, initialScreenID=%3, initialScreenSource=%4, "
                            "mainScreenID=%5, trusted=%6, pendingStartPlacements=%7")
                 .arg(arrayText(bundleIDs), toRaw(state().phase(screen)), QString::number(screen.rawValue),
                      explicitScreen ? QStringLiteral("explicit") : QStringLiteral("derived"),
                      mainScreen ? QString::number(StageVeskScreenID::of(*mainScreen).rawValue)
                                 : QStringLiteral("none"),
                      boolText(!accessibilityWarning_), arrayText(pending)));
}

void StageVeskService::startReconciliationTimer()
{
    reconciliationTimer_ = std::make_unique<MainQueueTimer>(environment_.scheduler, reconciliationInterval, [this] {
        reconcileVisibleWindows(QStringLiteral("timer"));
    });
    reconciliationTimer_->start();
}

void StageVeskService::deactivate()
{
    if (!isActive())
        return;
    reconciliationTimer_.reset();
    raiser_.cancelAll();
    records_.clear();
    burst_.stop();
    prewarm_.reset();
    anchorScreenID_ = StageVeskScreenID{};
    model_.setActive(false);
    setAccessibilityWarning(std::nullopt);
    displayNamesByBundleID_.clear();
    logStage(VeskLogLevel::info, QStringLiteral("deactivated"));
}

void StageVeskService::updateAllowlist(const std::set<QString>& allowedBundleIDs, const DisplayNames& displayNames)
{
    if (!isActive())
        return;
    for (const auto& [bundleID, name] : displayNames)
        displayNamesByBundleID_[bundleID] = name;
    const std::set<QString> present(state().appOrder.begin(), state().appOrder.end());
    const std::set<QString> added = difference(allowedBundleIDs, present);
    const std::set<QString> removed = difference(present, allowedBundleIDs);
    addAndRemoveApps(added, removed);
    for (const QString& bundleID : removed)
        records_.forget(bundleID);
    logStage(VeskLogLevel::info,
             QStringLiteral("allowlist updated — added=%1, removed=%2").arg(listText(added), listText(removed)));
    syncWindows(QStringLiteral("allowlistUpdate"));
}

// An added application that still has a record is only touched; the others
// join at the end of the order on the anchor screen, without a place yet.
void StageVeskService::addAndRemoveApps(const std::set<QString>& added, const std::set<QString>& removed)
{
    const QDateTime now = environment_.clock.now();
    model_.change([&](StageVeskState& state) {
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
}

void StageVeskService::requestStagePlacement(const QString& bundleID, StageVeskScreenID screen)
{
    if (!isActive())
        return;
    records_.pendingStagePlacements[bundleID] = screen;
    logStage(VeskLogLevel::info, QStringLiteral("requested stage placement — bundleID=%1, screenID=%2")
                                     .arg(bundleID, QString::number(screen.rawValue)));
    reconcileVisibleWindows(QStringLiteral("requestStagePlacement"));
    burst_.start();
}

void StageVeskService::setPhase(StageVeskPhase phase, StageVeskScreenID screen)
{
    if (!isActive())
        return;
    const StageVeskPhase previous = state().phase(screen);
    const Rect area = StageVeskScreenID::defaultWindowFrame(environment_.screens, screen);
    const QDateTime now = environment_.clock.now();
    model_.change([&](StageVeskState& state) { state.applyLayout(phase, screen, now, area); });
    logStage(VeskLogLevel::info, QStringLiteral("phase changed — screenID=%1, from=%2, to=%3")
                                     .arg(QString::number(screen.rawValue), toRaw(previous), toRaw(phase)));
    syncWindows(QStringLiteral("phaseChanged"));
}

// MARK: the parts' operations

void StageVeskService::closeApp(const QString& bundleID, Point quartzClickPoint, bool)
{
    userActions_.closeApp(bundleID, quartzClickPoint);
}

void StageVeskService::moveToQueue(const QString& bundleID)
{
    userActions_.moveToQueue(bundleID);
}

void StageVeskService::toggleZoom(const QString& bundleID)
{
    userActions_.toggleZoom(bundleID);
}

void StageVeskService::restoreFromQueue(const QString& bundleID, StageVeskScreenID fallbackScreen)
{
    userActions_.restoreFromQueue(bundleID, fallbackScreen);
}

void StageVeskService::restoreIfQueued(const QString& bundleID, StageVeskScreenID fallbackScreen)
{
    if (isQueued(bundleID))
        userActions_.restoreFromQueue(bundleID, fallbackScreen);
}

bool StageVeskService::isQueued(const QString& bundleID) const
{
    const StageVeskAppState* record = model_.openApp(bundleID);
    return record && (record->isQueued() || record->isParked);
}

void StageVeskService::syncUserDrag(const QString& bundleID, std::optional<Point> pointer,
                                    std::optional<StageVeskScreenID> pointerScreen, Rect windowRect)
{
    drags_.syncUserDrag(bundleID, pointer, pointerScreen, windowRect);
}

void StageVeskService::handleSeamDragHandoff(const QString& bundleID, Point pointer)
{
    drags_.handleSeamDragHandoff(bundleID, pointer);
}

void StageVeskService::syncWindows(const QString& reason)
{
    sync_.syncWindows(reason);
}

void StageVeskService::reconcileVisibleWindows(const QString& reason)
{
    reconciliation_.reconcileVisibleWindows(reason);
}

} // namespace vesk
