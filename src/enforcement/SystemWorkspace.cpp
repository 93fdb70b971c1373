#include "enforcement/SystemWorkspace.h"

#include "enforcement/SystemRunningApplication.h"
#include "platform/Workspace.h"

namespace vesk {

namespace {

platform::OpenConfiguration platformConfiguration(const WorkspaceOpenConfiguration& configuration)
{
    platform::OpenConfiguration result;
    result.activates = configuration.activates;
    result.createsNewApplicationInstance = configuration.createsNewApplicationInstance;
    result.arguments = configuration.arguments;
    return result;
}

platform::OpenCompletion platformCompletion(WorkspaceControlling::OpenCompletion completion)
{
    return [completion = std::move(completion)](std::shared_ptr<platform::RunningApplication> application,
                                                std::optional<QString> error) {
        std::shared_ptr<RunningApplicationControlling> adapted;
        if (application)
            adapted = std::make_shared<SystemRunningApplication>(std::move(application));
        if (completion)
            completion(adapted, error);
    };
}

} // namespace

SystemWorkspace::SystemWorkspace(platform::Workspace& workspace) : workspace_(workspace)
{
}

std::vector<std::shared_ptr<RunningApplicationControlling>> SystemWorkspace::runningApplications() const
{
    std::vector<std::shared_ptr<RunningApplicationControlling>> result;
    for (std::shared_ptr<platform::RunningApplication>& application : workspace_.runningApplications())
        result.push_back(std::make_shared<SystemRunningApplication>(std::move(application)));
    return result;
}

std::optional<QUrl> SystemWorkspace::urlForApplication(const QString& bundleID) const
{
    return workspace_.urlForApplication(bundleID);
}

void SystemWorkspace::openApplication(const QUrl& applicationURL, const WorkspaceOpenConfiguration& configuration,
                                      OpenCompletion completion)
{
    workspace_.openApplication(applicationURL, platformConfiguration(configuration),
                               platformCompletion(std::move(completion)));
}

void SystemWorkspace::open(const std::vector<QUrl>& urls, const QUrl& applicationURL,
                           const WorkspaceOpenConfiguration& configuration, OpenCompletion completion)
{
    workspace_.open(QList<QUrl>(urls.begin(), urls.end()), applicationURL, platformConfiguration(configuration),
                    platformCompletion(std::move(completion)));
}

} // namespace vesk
