#include "enforcement/AppMonitorService.h"

#include "core/Clock.h"
#include "core/TextFormat.h"
#include "platform/RunningApplication.h"

namespace vesk {

namespace {

const QString launchEvent = QStringLiteral("launch");
const QString activateEvent = QStringLiteral("activate");

} // namespace

AppMonitorService::AppMonitorService(Scheduler& scheduler, Clock& clock, platform::Workspace& workspace,
                                     QString veskBundleID)
    : scheduler_(scheduler)
    , clock_(clock)
    , workspace_(workspace)
    , veskBundleID_(std::move(veskBundleID))
{
}

AppMonitorService::~AppMonitorService()
{
    deactivate();
}

void AppMonitorService::activate(const std::set<QString>& allowedBundleIDs)
{
    allowedBundleIDs_ = allowedBundleIDs;
    isActive_ = true;
    bundleIDsRunningAtActivation_.clear();
    for (const auto& application : workspace_.runningApplications()) {
        if (const auto bundleID = application->bundleIdentifier())
            bundleIDsRunningAtActivation_.insert(*bundleID);
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("AppMonitor activated — %1 apps allowed, runningAtActivation=%2")
                                        .arg(allowedBundleIDs_.size())
                                        .arg(bundleIDsRunningAtActivation_.size()));

    removeObservers();
    // The tokens are removed by deactivate(), which the destructor runs, so
    // the handlers never outlive the service.
    launchObserver_ = workspace_.addObserver(platform::WorkspaceNotification::didLaunchApplication,
                                             [this](const auto& application) { hideApp(application, launchEvent); });
    activateObserver_ =
        workspace_.addObserver(platform::WorkspaceNotification::didActivateApplication,
                               [this](const auto& application) { hideApp(application, activateEvent); });

    hideDisallowedApps(QStringLiteral("activation"));
    startPeriodicEnforcement();
}

void AppMonitorService::updateAllowlist(const std::set<QString>& allowedBundleIDs)
{
    allowedBundleIDs_ = allowedBundleIDs;
    logger_.log(VeskLogLevel::info,
                QStringLiteral("AppMonitor allowlist updated — %1 apps allowed").arg(allowedBundleIDs_.size()));
    if (isActive_)
        hideDisallowedApps(QStringLiteral("allowlistUpdate"));
}

void AppMonitorService::deactivate()
{
    removeObservers();
    enforcementTimer_.reset();
    isActive_ = false;
    allowedBundleIDs_.clear();
    disallowedAppHiddenHandler_ = {};
    appLaunchNeedingDecisionHandler_ = {};
    pendingDecisionBundleIDs_.clear();
    bundleIDsRunningAtActivation_.clear();
    lastUserClickAt_.reset();
    lastFullSweepAt_.reset();
    logger_.log(VeskLogLevel::info, QStringLiteral("AppMonitor deactivated"));
}

void AppMonitorService::enforceAllowlist(const QString& reason)
{
    if (!isActive_) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignoring enforceAllowlist while inactive — reason=") + reason);
        return;
    }
    const QDateTime now = clock_.now();
    if (!policy_.allowsFullSweep(reason, lastFullSweepAt_, now)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("enforceAllowlist skipped — throttled, reason=%1, msSinceLast=%2")
                        .arg(reason, QString::number(lastFullSweepAt_->msecsTo(now))));
        return;
    }
    lastFullSweepAt_ = now;
    logger_.log(VeskLogLevel::info, QStringLiteral("Enforcing AppMonitor allowlist — reason=") + reason);
    hideDisallowedApps(reason);
}

void AppMonitorService::setDisallowedAppHiddenHandler(BundleHandler handler)
{
    disallowedAppHiddenHandler_ = std::move(handler);
}

void AppMonitorService::setAppLaunchNeedingDecisionHandler(BundleHandler handler)
{
    appLaunchNeedingDecisionHandler_ = std::move(handler);
}

void AppMonitorService::setLastUserClickAt(std::optional<QDateTime> date)
{
    lastUserClickAt_ = std::move(date);
}

void AppMonitorService::removePendingDecision(const QString& bundleID)
{
    pendingDecisionBundleIDs_.erase(bundleID);
}

void AppMonitorService::hideDisallowedApps(const QString& reason)
{
    int hiddenCount = 0;
    for (const auto& application : workspace_.runningApplications()) {
        const auto bundleID = application->bundleIdentifier();
        if (!bundleID || application->activationPolicy() == platform::ActivationPolicy::prohibited
            || *bundleID == veskBundleID_ || allowedBundleIDs_.contains(*bundleID))
            continue;
        const bool success = application->hide();
        ++hiddenCount;
        logger_.log(VeskLogLevel::debug, QStringLiteral("Hiding running app: %1, policy=%2, reason=%3, success=%4")
                                             .arg(*bundleID, QString::number(int(application->activationPolicy())),
                                                  reason, boolText(success)));
    }
    logger_.log(VeskLogLevel::info,
                QStringLiteral("Hidden %1 disallowed apps — reason=%2").arg(QString::number(hiddenCount), reason));
}

void AppMonitorService::hideApp(const std::shared_ptr<platform::RunningApplication>& application, const QString& event)
{
    const auto bundleID = application ? application->bundleIdentifier() : std::nullopt;
    if (!bundleID)
        return;
    if (*bundleID == veskBundleID_ || allowedBundleIDs_.contains(*bundleID)) {
        logger_.log(VeskLogLevel::debug, QStringLiteral("App %1: %2 — allowed").arg(event, *bundleID));
        return;
    }
    const bool success = application->hide();
    logger_.log(VeskLogLevel::info, QStringLiteral("App %1: %2 — NOT allowed, hiding, success=%3")
                                        .arg(event, *bundleID, boolText(success)));
    // Copies: a callback may switch the monitor off and clear them.
    if (const BundleHandler handler = disallowedAppHiddenHandler_)
        handler(*bundleID);
    handleLaunchOrActivation(*application, *bundleID, event);
}

void AppMonitorService::handleLaunchOrActivation(const platform::RunningApplication& application,
                                                 const QString& bundleID, const QString& event)
{
    if (application.activationPolicy() != platform::ActivationPolicy::regular || !appLaunchNeedingDecisionHandler_
        || pendingDecisionBundleIDs_.contains(bundleID))
        return;
    const QDateTime now = clock_.now();
    const qint64 sinceClick = millisecondsSinceLastClick(now);
    const bool ranAtActivation = bundleIDsRunningAtActivation_.contains(bundleID);
    const bool recentClick = lastUserClickAt_ && sinceClick <= qint64(recentClickWindow * 1000);
    if (ranAtActivation && !recentClick) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Launch decision suppressed — bundleID=%1, "
                                   "reason=ranAtActivation+noRecentClick, runningAtActivation=true, "
                                   "msSinceLastClick=%2")
                        .arg(bundleID, QString::number(sinceClick)));
        return;
    }
    pendingDecisionBundleIDs_.insert(bundleID);
    logger_.log(VeskLogLevel::info, QStringLiteral("App needs Vesk decision — bundleID=%1, event=%2, "
                                                   "runningAtActivation=%3, msSinceLastClick=%4, prompting user")
                                        .arg(bundleID, event, boolText(ranAtActivation), QString::number(sinceClick)));
    const BundleHandler handler = appLaunchNeedingDecisionHandler_;
    handler(bundleID);
}

void AppMonitorService::startPeriodicEnforcement()
{
    enforcementTimer_ = std::make_unique<MainQueueTimer>(scheduler_, periodicEnforcementInterval, [this] {
        enforceAllowlist(AppMonitorPolicy::throttleExemptReason);
    });
    enforcementTimer_->start();
    logger_.log(VeskLogLevel::debug, QStringLiteral("Started AppMonitor periodic enforcement"));
}

void AppMonitorService::removeObservers()
{
    for (auto* token : {&launchObserver_, &activateObserver_}) {
        if (*token)
            workspace_.removeObserver(**token);
        token->reset();
    }
}

qint64 AppMonitorService::millisecondsSinceLastClick(const QDateTime& now) const
{
    return lastUserClickAt_ ? lastUserClickAt_->msecsTo(now) : -1;
}

} // namespace vesk
