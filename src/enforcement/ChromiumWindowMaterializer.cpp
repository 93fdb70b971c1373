#include "enforcement/ChromiumWindowMaterializer.h"

namespace vesk {

ChromiumWindowMaterializer::ChromiumWindowMaterializer(std::shared_ptr<WorkspaceControlling> workspace)
    : workspace_(std::move(workspace))
{
}

const std::set<QString>& ChromiumWindowMaterializer::supportedBundleIDs()
{
    static const std::set<QString> ids{
        QStringLiteral("com.google.Chrome"),     QStringLiteral("com.brave.Browser"),
        QStringLiteral("com.microsoft.edgemac"), QStringLiteral("company.thebrowser.Browser"),
        QStringLiteral("com.vivaldi.Vivaldi"),   QStringLiteral("com.operasoftware.Opera"),
    };
    return ids;
}

const QStringList& ChromiumWindowMaterializer::launchArguments()
{
    static const QStringList arguments{QStringLiteral("--new-window"), QStringLiteral("about:blank")};
    return arguments;
}

WindowMaterializationOutcome ChromiumWindowMaterializer::materialize(const QString& bundleID,
                                                                     const std::optional<QUrl>& applicationURL,
                                                                     const QString& reason)
{
    if (!supportedBundleIDs().contains(bundleID)) {
        logger_.log(VeskLogLevel::debug,
                    QStringLiteral("Materialization unsupported — bundleID=%1, reason=%2").arg(bundleID, reason));
        return WindowMaterializationOutcome::unsupported();
    }
    const QString missingURL = QStringLiteral("missing app URL");
    if (!applicationURL) {
        logger_.log(VeskLogLevel::warning, QStringLiteral("Materialization failed — bundleID=%1, reason=%2, error=%3")
                                               .arg(bundleID, reason, missingURL));
        return WindowMaterializationOutcome::failed(missingURL);
    }
    WorkspaceOpenConfiguration configuration;
    configuration.activates = true;
    configuration.createsNewApplicationInstance = true;
    configuration.arguments = launchArguments();
    logger_.log(VeskLogLevel::info,
                QStringLiteral(
                    "Materialization requested — bundleID=%1, reason=%2, appURL=%3, strategy=chromiumNewWindow")
                    .arg(bundleID, reason, applicationURL->path()));
    workspace_->openApplication(
        *applicationURL, configuration,
        [logger = logger_, bundleID, reason](const std::shared_ptr<RunningApplicationControlling>&,
                                             const std::optional<QString>& error) {
            if (error)
                logger.log(VeskLogLevel::error,
                           QStringLiteral("Materialization openApplication failed — bundleID=%1, reason=%2, error=%3")
                               .arg(bundleID, reason, *error));
            else
                logger.log(VeskLogLevel::info,
                           QStringLiteral("Materialization openApplication completed — bundleID=%1, reason=%2")
                               .arg(bundleID, reason));
        });
    return WindowMaterializationOutcome::requested();
}

} // namespace vesk
