#include "session/AllowedAppLookup.h"

#include <QFileInfo>

namespace vesk {

AllowedAppLookup::AllowedAppLookup(const WorkspaceControlling& workspace, const SessionState& state)
    : workspace_(workspace)
    , state_(state)
{
}

std::set<QString> AllowedAppLookup::runningAllowedBundleIDs(const std::set<QString>& bundleIDs) const
{
    std::set<QString> running;
    if (bundleIDs.empty())
        return running;
    for (const auto& app : workspace_.runningApplications()) {
        const auto bundleID = app->bundleIdentifier();
        if (bundleID && bundleIDs.contains(*bundleID) && !app->isTerminated()
            && app->activationPolicy() == ApplicationActivationPolicy::regular)
            running.insert(*bundleID);
    }
    return running;
}

std::shared_ptr<RunningApplicationControlling> AllowedAppLookup::runningApplication(const QString& bundleID) const
{
    for (const auto& app : workspace_.runningApplications()) {
        if (app->bundleIdentifier() == bundleID && !app->isTerminated())
            return app;
    }
    return nullptr;
}

std::optional<QUrl> AllowedAppLookup::applicationURL(const QString& bundleID) const
{
    if (const auto it = state_.appURLsByBundleID.find(bundleID); it != state_.appURLsByBundleID.end())
        return it->second;
    return workspace_.urlForApplication(bundleID);
}

std::pair<QString, QString> AllowedAppLookup::displayNameEntry(const QString& bundleID) const
{
    const auto url = applicationURL(bundleID);
    if (!url)
        return {bundleID, bundleID};
    QString name = QFileInfo(url->toLocalFile()).fileName();
    if (name.endsWith(QStringLiteral(".app")))
        name.chop(4);
    return {bundleID, name.isEmpty() ? bundleID : name};
}

StageVeskControlling::DisplayNames AllowedAppLookup::displayNames(const std::set<QString>& bundleIDs) const
{
    StageVeskControlling::DisplayNames names;
    for (const QString& bundleID : bundleIDs)
        names.insert(displayNameEntry(bundleID));
    return names;
}

} // namespace vesk
