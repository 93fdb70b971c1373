#include "session/AllowedAppRecovery.h"

#include "core/TextFormat.h"
#include "overlay/OverlayLogText.h"
#include "overlay/WindowClassification.h"

#include <QPointer>

#include <algorithm>
#include <limits>
#include <map>
#include <utility>

namespace vesk {

namespace {

std::set<QString> intersection(const std::set<QString>& a, const std::set<QString>& b)
{
    std::set<QString> common;
    std::set_intersection(a.begin(), a.end(), b.begin(), b.end(), std::inserter(common, common.end()));
    return common;
}

} // namespace

AllowedAppRecovery::AllowedAppRecovery(const SessionServices& services, const SessionState& state,
                                       const AllowedAppLookup& lookup, const AllowedWindowSpaceClassifier& classifier,
                                       WindowMaterializationFlight& flight, Scheduler& scheduler, const Clock& clock,
                                       double delay)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , classifier_(classifier)
    , flight_(flight)
    , scheduler_(scheduler)
    , clock_(clock)
    , delay_(delay)
{
}

void AllowedAppRecovery::schedule(const QString& reason, const std::optional<std::set<QString>>& targets,
                                  bool dragDeferrable)
{
    if (skippedOrDeferred(reason, targets, dragDeferrable))
        return;
    scheduleWorkItem(reason, targets, dragDeferrable, delay_);
}

void AllowedAppRecovery::cancel()
{
    if (pendingRecovery_.cancelAndClear())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Cancelled pending allowed-app recovery"));
}

bool AllowedAppRecovery::discardIfWindowsVisible(const QString& reason, const std::optional<std::set<QString>>& targets)
{
    const std::set<QString> allowlist = state_.currentAllowlist();
    const std::set<QString> visible = services_.allowedWindowDetector->detectAllowedWindows(allowlist).visible;
    std::set<QString> recovered;
    if (targets) {
        const std::set<QString> targeted = intersection(*targets, allowlist);
        const bool allVisible =
            std::all_of(targeted.begin(), targeted.end(), [&](const QString& id) { return visible.contains(id); });
        if (targeted.empty() || !allVisible)
            return false;
        recovered = targeted;
    } else {
        if (visible.empty())
            return false;
        recovered = visible;
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Deferred allowed-app recovery discarded because allowed windows are "
                               "visible again — reason=%1, recovered=%2, visible=%3")
                    .arg(reason, sortedArrayText(recovered), sortedArrayText(visible)));
    return true;
}

std::optional<double> AllowedAppRecovery::deferralDuringDrag(const QString& reason)
{
    const QDateTime now = clock_.now();
    const AllowedWindowDragState drag = services_.overlay->allowedWindowDragState(now);
    if (!drag.lastMotionAt)
        return std::nullopt;
    const double age = static_cast<double>(drag.lastMotionAt->msecsTo(now)) / 1000.0;
    if (age > drag.cooldown)
        return std::nullopt;
    const double delay = std::max(std::max(drag.cooldown - age, 0.0) + 0.05, 0.15);
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Allowed-app recovery deferred during allowed-window drag — reason=%1, bundleIDs=%2, "
                               "mouseInteraction=%3, lastMotionAge=%4, delay=%5s")
                    .arg(reason, sortedArrayText(drag.bundleIDs), boolText(drag.isMouseInteractionActive),
                         QString::number(age, 'f', 3), QString::number(delay, 'f', 2)));
    return delay;
}

void AllowedAppRecovery::scheduleWorkItem(const QString& reason, const std::optional<std::set<QString>>& targets,
                                          bool dragDeferrable, double delay)
{
    pendingRecovery_.cancel();
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Scheduled allowed-app recovery — reason=%1, delay=%2s, dragDeferrable=%3")
                    .arg(reason, QString::number(delay, 'f', 2), boolText(dragDeferrable)));
    const QPointer<AllowedAppRecovery> self(this);
    pendingRecovery_ = scheduler_.asyncAfter(std::max(delay, 0.0), [self, reason, targets, dragDeferrable] {
        if (self)
            self->fire(reason, targets, dragDeferrable);
    });
}

bool AllowedAppRecovery::skippedOrDeferred(const QString& reason, const std::optional<std::set<QString>>& targets,
                                           bool dragDeferrable)
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Allowed-app recovery skipped — no active session, reason=") + reason);
        return true;
    }
    if (!dragDeferrable)
        return false;
    if (discardIfWindowsVisible(reason, targets))
        return true;
    if (const auto delay = deferralDuringDrag(reason)) {
        scheduleWorkItem(reason, targets, true, *delay);
        return true;
    }
    return false;
}

void AllowedAppRecovery::fire(const QString& reason, const std::optional<std::set<QString>>& targets,
                              bool dragDeferrable)
{
    pendingRecovery_ = WorkItem();
    if (skippedOrDeferred(reason, targets, dragDeferrable))
        return;
    perform(reason, targets);
}

void AllowedAppRecovery::perform(const QString& reason, const std::optional<std::set<QString>>& targets)
{
    const QString recoveryReason = QStringLiteral("allowedAppRecovery:") + reason;
    services_.appMonitor->enforceAllowlist(recoveryReason);
    services_.overlay->prepareBackingForAllowedAppActivation(recoveryReason);

    const std::set<QString> allowlist = state_.currentAllowlist();
    const std::set<QString> targeted = targets ? intersection(*targets, allowlist) : std::set<QString>();
    int activatedAllowedApps = 0;
    int skippedSpaceBlocked = 0;
    for (const QString& bundleID : activationOrder(allowlist, targeted))
        recoverApp(bundleID, reason, targeted.contains(bundleID), activatedAllowedApps, skippedSpaceBlocked);
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Allowed-app recovery completed — reason=%1, activatedAllowedApps=%2, skippedSpaceBlocked=%3, "
                    "targets=%4")
                    .arg(reason)
                    .arg(activatedAllowedApps)
                    .arg(skippedSpaceBlocked)
                    .arg(targets ? sortedArrayText(*targets) : QStringLiteral("[]")));
}

// Each activation brings the application's windows to the front, so the pass
// goes from the back to the front: applications without a window on screen
// first, then the others in the order the window list stacks them, so that
// the front-most window stays in front; last the applications the request is
// about (one just added or restored), which end up in front of the others.
// Ties keep the identifiers' order.
std::vector<QString> AllowedAppRecovery::activationOrder(const std::set<QString>& allowlist,
                                                         const std::set<QString>& targeted) const
{
    std::map<QString, int> frontMostWindowDepth;
    const std::vector<AllowedWindowSnapshot> onScreen = services_.onScreenWindowSnapshots();
    for (int depth = 0; depth < int(onScreen.size()); ++depth)
        frontMostWindowDepth.try_emplace(onScreen[std::size_t(depth)].bundleID, depth);
    const auto rank = [&](const QString& bundleID) {
        const auto found = frontMostWindowDepth.find(bundleID);
        const int nearness = found == frontMostWindowDepth.end() ? std::numeric_limits<int>::min() : -found->second;
        return std::pair(targeted.contains(bundleID), nearness);
    };
    std::vector<QString> order(allowlist.begin(), allowlist.end());
    std::stable_sort(order.begin(), order.end(),
                     [&rank](const QString& a, const QString& b) { return rank(a) < rank(b); });
    return order;
}

void AllowedAppRecovery::recoverApp(const QString& bundleID, const QString& reason, bool targeted, int& activated,
                                    int& skippedSpaceBlocked)
{
    const auto app = lookup_.runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Recovery skipped not-running allowed app: %1, reason=%2").arg(bundleID, reason));
        return;
    }
    // The stage keeps the windows of a queued application hidden and would
    // hide them again at its next pass; only a request about the application
    // itself brings it back (the stage has let it out of the queue first).
    if (!targeted && services_.stage->isQueued(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Recovery left app in the stage queue: %1, reason=%2").arg(bundleID, reason));
        return;
    }
    const AllowedWindowSpaceClassification classification = classifier_.classify(bundleID);
    const QString description = classification.description();
    logger_.log(VeskLogLevel::debug,
                QStringLiteral("Recovery classified app: %1 — reason=%2, %3").arg(bundleID, reason, description));
    // A general recovery never brings back what the user minimised or moved to another Space.
    const auto skipBlindActivation = [&](const QString& kind) {
        ++skippedSpaceBlocked;
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Recovery skipped blind activation for %1 app — bundleID=%2, reason=%3, %4")
                        .arg(kind, bundleID, reason, description));
    };
    bool wasHidden = false;
    bool unhide = false;
    switch (classification.state) {
    case AllowedWindowSpaceState::notRunning:
    case AllowedWindowSpaceState::noWindows:
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Recovery skipped app without windows — bundleID=%1, reason=%2, %3")
                        .arg(bundleID, reason, description));
        return;
    case AllowedWindowSpaceState::minimized:
        if (!targeted) {
            skipBlindActivation(QStringLiteral("minimized"));
        } else {
            bool restore = false;
            bool raise = false;
            if (classification.totalAXWindows >= 1) {
                restore = services_.windowManager->setMinimized(bundleID, false);
                if (restore)
                    raise = services_.windowManager->raise(bundleID);
            }
            logger_.log(VeskLogLevel::info,
                        QStringLiteral("Recovery requested minimized-window restore — bundleID=%1, "
                                       "reason=%2, restore=%3, raise=%4, %5")
                            .arg(bundleID, reason, boolText(restore), boolText(raise), description));
        }
        return;
    case AllowedWindowSpaceState::onOtherSpace:
        if (!targeted) {
            skipBlindActivation(QStringLiteral("other-Space"));
        } else {
            const auto outcome = flight_.materialize(bundleID, QStringLiteral("recovery:") + reason);
            logger_.log(VeskLogLevel::info, QStringLiteral("Recovery requested window materialization — bundleID=%1, "
                                                           "reason=%2, outcome=%3, %4")
                                                .arg(bundleID, reason, outcome.text(), description));
        }
        return;
    case AllowedWindowSpaceState::hidden:
        wasHidden = app->isHidden();
        unhide = app->unhide();
        break;
    case AllowedWindowSpaceState::onActiveSpace:
        flight_.settle(bundleID, QStringLiteral("recovery:") + reason);
        wasHidden = app->isHidden();
        break;
    }
    ApplicationActivationOptions options;
    // The Finder is activated without options, so that not every Finder window comes up.
    options.activateAllWindows = bundleID != kFinderBundleID;
    const bool activate = app->activate(options);
    const bool visible = classifier_.isVisible(bundleID);
    ++activated;
    logger_.log(VeskLogLevel::debug, QStringLiteral("Recovery reveal app: %1 — reason=%2, wasHidden=%3, unhide=%4, "
                                                    "activate=%5, visible=%6, %7")
                                         .arg(bundleID, reason, boolText(wasHidden), boolText(unhide),
                                              boolText(activate), boolText(visible), description));
}

void AllowedAppRecovery::handleWindowsOccluded(const std::set<QString>& bundleIDs)
{
    logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed app windows occluded — scheduling recovery, bundleIDs=")
                                           + sortedArrayText(bundleIDs));
    schedule(QStringLiteral("allowedWindowsOccluded"), bundleIDs, true);
}

void AllowedAppRecovery::handleWindowsTemporarilyMissing()
{
    if (lookup_.runningAllowedBundleIDs(state_.currentAllowlist()).empty()) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed windows temporarily missing and no allowed apps are "
                                                          "running — keeping empty VESK session active"));
        return;
    }
    logger_.log(VeskLogLevel::warning, QStringLiteral("Allowed windows temporarily missing, but allowed apps are still "
                                                      "running — treating as possible minimized state"));
    schedule(QStringLiteral("allowedWindowsTemporarilyMissing"), std::nullopt, true);
}

void AllowedAppRecovery::confirmMissingWindows(const QUuid& lifecycleID)
{
    cancelMissingWindowsConfirmation();
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("No allowed windows detected — confirming empty-session state in 0.25s"));
    const QPointer<AllowedAppRecovery> self(this);
    pendingMissingWindowsConfirmation_ = scheduler_.asyncAfter(0.25, [self, lifecycleID] {
        if (self)
            self->confirmFailOpen(lifecycleID);
    });
}

void AllowedAppRecovery::cancelMissingWindowsConfirmation()
{
    if (pendingMissingWindowsConfirmation_.cancelAndClear())
        logger_.log(VeskLogLevel::debug, QStringLiteral("Cancelled pending fail-open confirmation"));
}

void AllowedAppRecovery::confirmFailOpen(const QUuid& lifecycleID)
{
    pendingMissingWindowsConfirmation_ = WorkItem();
    if (!state_.isCurrentLifecycle(lifecycleID) || !state_.isSessionActive) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring stale fail-open confirmation for lifecycle=") + uuidText(lifecycleID));
        return;
    }
    const std::set<QString> allowlist = state_.currentAllowlist();
    if (!services_.allowedWindowDetector->detectAllowedWindows(allowlist).visible.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Fail-open confirmation cancelled — allowed windows visible again"));
        return;
    }
    const std::set<QString> running = lookup_.runningAllowedBundleIDs(allowlist);
    if (running.empty()) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("No allowed windows confirmed and no allowed apps are running — "
                                   "keeping empty VESK session active"));
        return;
    }
    // Missing windows never end a session.
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("No allowed windows confirmed, but allowed apps are still running — "
                               "treating as minimized and keeping session active, running=")
                    + sortedArrayText(running));
    schedule(QStringLiteral("allowedWindowsMissingConfirmed"), std::nullopt, true);
}

} // namespace vesk
