#include "session/DynamicAllowlistController.h"

#include "core/TextFormat.h"

namespace vesk {

DynamicAllowlistController::DynamicAllowlistController(const SessionServices& services, SessionState& state,
                                                       const AllowedAppLookup& lookup, SessionRecords& records,
                                                       AllowedAppReveal& reveal, AllowedAppRecovery& recovery,
                                                       WindowMaterializationFlight& flight,
                                                       std::function<void()> promptChanged)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , records_(records)
    , reveal_(reveal)
    , recovery_(recovery)
    , flight_(flight)
    , promptChanged_(std::move(promptChanged))
{
}

void DynamicAllowlistController::add(const QString& bundleID, const std::optional<QUrl>& applicationURL,
                                     std::optional<StageVeskScreenID> targetScreen)
{
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring addApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (state_.dynamicAllowlist.contains(bundleID)) {
        logger_.log(VeskLogLevel::info, QStringLiteral("Ignoring addApp for already-allowed bundleID=") + bundleID);
        return;
    }
    state_.dynamicAllowlist.insertDynamic(bundleID);
    if (applicationURL)
        state_.appURLsByBundleID[bundleID] = *applicationURL;
    state_.allPersistedAllowedBundleIDs.insert(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Added app to dynamic allowlist — bundleID=%1, targetScreenID=%2")
                    .arg(bundleID, targetScreen ? QString::number(targetScreen->rawValue) : QStringLiteral("none")));
    recovery_.cancel();
    synchronize();
    records_.persistAllowlistUpdate();
    if (targetScreen)
        services_.stage->requestStagePlacement(bundleID, *targetScreen);
    reveal_.start(bundleID);
    recovery_.schedule(QStringLiteral("dynamicAdd:") + bundleID, std::set<QString>{bundleID}, false);
}

bool DynamicAllowlistController::canRemove(const QString& bundleID) const
{
    if (!state_.dynamicAllowlist.dynamicBundleIDs().contains(bundleID))
        return false;
    std::set<QString> others = state_.currentAllowlist();
    if (others.size() <= 1)
        return false;
    others.erase(bundleID);
    if (others.empty())
        return false;
    if (!services_.allowedWindowDetector->detectAllowedWindows(others).visible.empty())
        return true;
    return !lookup_.runningAllowedBundleIDs(others).empty();
}

void DynamicAllowlistController::remove(const QString& bundleID)
{
    if (!state_.isSessionActive) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring removeApp because no session is active — bundleID=") + bundleID);
        return;
    }
    if (!canRemove(bundleID)) {
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Ignoring removeApp because no other allowed app has visible windows "
                                   "or bundle is protected — bundleID=")
                        + bundleID);
        return;
    }
    if (!state_.dynamicAllowlist.remove(bundleID)) {
        logger_.log(VeskLogLevel::error,
                    QStringLiteral("Runtime removal precheck passed but allowlist state rejected removal — bundleID=")
                        + bundleID);
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Removed app from dynamic allowlist — bundleID=") + bundleID);
    reveal_.cancel(bundleID);
    flight_.cancel(bundleID);
    recovery_.cancelMissingWindowsConfirmation();
    recovery_.cancel();
    synchronize();
    records_.persistAllowlistUpdate();
    hideRemovedApp(bundleID);
    recovery_.schedule(QStringLiteral("dynamicRemove:") + bundleID, std::nullopt, false);
}

void DynamicAllowlistController::handleAppFullyClosed(const QString& bundleID)
{
    if (!state_.isRunning()) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Ignoring app fully closed callback outside active session — bundleID=") + bundleID);
        return;
    }
    const bool dynamic = state_.dynamicAllowlist.dynamicBundleIDs().contains(bundleID);
    const bool removing = dynamic && canRemove(bundleID);
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "[SessionManager] App fully closed via Vesk — bundleID=%1, dynamic=%2, removing=%3, terminating=%4")
                    .arg(bundleID, boolText(dynamic), boolText(removing), boolText(dynamic)));
    if (!dynamic)
        return;
    if (removing)
        remove(bundleID);
    else
        logger_.log(VeskLogLevel::warning,
                    QStringLiteral("Dynamic app fully closed but removal was refused — bundleID=") + bundleID);
    // Asked to quit even when it stays on the allowlist.
    terminateDeclinedApp(bundleID);
}

bool DynamicAllowlistController::presentPrompt(const QString& bundleID)
{
    if (!state_.isRunning() || state_.dynamicAllowlist.contains(bundleID)) {
        services_.appMonitor->removePendingDecision(bundleID);
        return false;
    }
    if (pendingPrompt_) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Skipping app-launch prompt — another prompt is open, bundleID=") + bundleID);
        return false;
    }
    const QString name = services_.installedAppName(bundleID).value_or(bundleID);
    setPendingPrompt(AppLaunchPrompt{QUuid::createUuid(), bundleID, name});
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Presenting app-launch prompt — bundleID=%1, name=%2").arg(bundleID, name));
    return true;
}

void DynamicAllowlistController::confirmPrompt(bool allow)
{
    if (!pendingPrompt_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignoring confirmAppLaunchPrompt — no pending prompt"));
        return;
    }
    const AppLaunchPrompt prompt = *pendingPrompt_;
    setPendingPrompt(std::nullopt);
    services_.appMonitor->removePendingDecision(prompt.bundleID);
    services_.uiController->dismissAppLaunchPrompt();
    if (allow) {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("App-launch prompt confirmed — adding to Vesk, bundleID=") + prompt.bundleID);
        add(prompt.bundleID, std::nullopt, state_.sessionAnchorScreenID);
    } else {
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("App-launch prompt declined — terminating launched app, bundleID=")
                        + prompt.bundleID);
        terminateDeclinedApp(prompt.bundleID);
    }
}

void DynamicAllowlistController::clearPrompt()
{
    setPendingPrompt(std::nullopt);
}

void DynamicAllowlistController::setPendingPrompt(std::optional<AppLaunchPrompt> prompt)
{
    if (pendingPrompt_ == prompt)
        return;
    pendingPrompt_ = std::move(prompt);
    promptChanged_();
}

void DynamicAllowlistController::synchronize()
{
    const std::set<QString> total = state_.currentAllowlist();
    services_.overlay->updateAllowlist(total);
    services_.mouseBlocker->updateAllowlist(total);
    services_.appMonitor->updateAllowlist(total);
    services_.spaceBlocker->updateAllowlist(total);
    services_.spaceTransitionProbe->updateAllowedBundleIDs(total);
    services_.stage->updateAllowlist(total, lookup_.displayNames(total));
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Synchronized allowlist across services — original=%1, dynamic=%2, total=%3")
                    .arg(state_.dynamicAllowlist.originalBundleIDs().size())
                    .arg(state_.dynamicAllowlist.dynamicBundleIDs().size())
                    .arg(total.size()));
}

void DynamicAllowlistController::hideRemovedApp(const QString& bundleID)
{
    const auto app = lookup_.runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("No running app to hide after dynamic removal — bundleID=") + bundleID);
        return;
    }
    const bool success = app->hide();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Hid dynamically removed app: %1 — success=%2").arg(bundleID, boolText(success)));
}

void DynamicAllowlistController::terminateDeclinedApp(const QString& bundleID)
{
    const auto app = lookup_.runningApplication(bundleID);
    if (!app) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("No running app to terminate after declined prompt — bundleID=") + bundleID);
        return;
    }
    const bool success = app->terminate();
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Terminated declined app: %1 — success=%2").arg(bundleID, boolText(success)));
}

} // namespace vesk
