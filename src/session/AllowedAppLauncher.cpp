#include "session/AllowedAppLauncher.h"

#include "core/MainThread.h"
#include "core/TextFormat.h"

#include <QPointer>

namespace vesk {

AllowedAppLauncher::AllowedAppLauncher(const SessionServices& services, SessionState& state,
                                       const AllowedAppLookup& lookup, Scheduler& scheduler)
    : services_(services)
    , state_(state)
    , lookup_(lookup)
    , scheduler_(scheduler)
{
}

bool AllowedAppLauncher::wouldStartApplication(const QString& bundleID) const
{
    return !state_.initiallyRunningAllowedBundleIDs.contains(bundleID)
           && lookup_.runningApplication(bundleID) == nullptr;
}

void AllowedAppLauncher::launchInitialAllowlist(const std::set<QString>& allowedBundleIDs,
                                                const std::map<QString, QUrl>& appURLs)
{
    for (const QString& bundleID : allowedBundleIDs) {
        const bool trackAsVeskStarted = wouldStartApplication(bundleID);
        std::optional<QUrl> url;
        if (const auto it = appURLs.find(bundleID); it != appURLs.end())
            url = it->second;
        else
            url = services_.workspace->urlForApplication(bundleID);
        if (!url) {
            logger_.log(VeskLogLevel::warning, QStringLiteral("Could not find URL for app: ") + bundleID);
            continue;
        }
        launch(bundleID, *url, QStringLiteral("initialAllowlist"), trackAsVeskStarted);
    }
}

void AllowedAppLauncher::launch(const QString& bundleID, const QUrl& url, const QString& source,
                                bool trackAsVeskStarted)
{
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    state_.appURLsByBundleID[bundleID] = url;
    const std::optional<QUuid> launchLifecycleID = state_.activeLifecycleID;
    const QPointer<AllowedAppLauncher> self(this);
    services_.workspace->openApplication(
        url, configuration,
        [self, bundleID, source, trackAsVeskStarted, launchLifecycleID,
         &scheduler = scheduler_](std::shared_ptr<RunningApplicationControlling>, std::optional<QString> error) {
            auto complete = [self, bundleID, source, trackAsVeskStarted, launchLifecycleID, error] {
                if (self)
                    self->handleCompletion(bundleID, source, trackAsVeskStarted, launchLifecycleID, error);
            };
            if (isMainThread())
                complete();
            else
                scheduler.async(complete);
        });
}

void AllowedAppLauncher::handleCompletion(const QString& bundleID, const QString& source, bool trackAsVeskStarted,
                                          const std::optional<QUuid>& launchLifecycleID,
                                          const std::optional<QString>& error)
{
    if (error) {
        logger_.log(VeskLogLevel::error, QStringLiteral("Failed to launch %1: %2").arg(bundleID, *error));
        return;
    }
    logger_.log(VeskLogLevel::info, QStringLiteral("Launched allowed app: %1, source=%2, trackAsVeskStarted=%3")
                                        .arg(bundleID, source, boolText(trackAsVeskStarted)));
    if (!trackAsVeskStarted)
        return;
    if (launchLifecycleID == state_.activeLifecycleID) {
        state_.veskStartedBundleIDs.insert(bundleID);
        logger_.log(VeskLogLevel::info,
                    QStringLiteral("Tracked VESK-started app — bundleID=%1, source=%2").arg(bundleID, source));
    } else {
        logger_.log(VeskLogLevel::debug, QStringLiteral("Ignoring stale VESK-started tracking — bundleID=%1, source=%2")
                                             .arg(bundleID, source));
    }
}

} // namespace vesk
