#include "platform/x11/XdgBundleLocation.h"

#include <QDir>

namespace vesk::platform {

namespace {

const QString bundleSuffix = QStringLiteral(".app");

// The URL's path when it is a plain local file URL, cleaned; empty otherwise.
QString localPath(const QUrl& url)
{
    if (!url.isLocalFile() || url.hasQuery() || url.hasFragment())
        return {};
    return QDir::cleanPath(url.toLocalFile());
}

} // namespace

QUrl XdgBundleLocation::applicationsFolderURL()
{
    return QUrl::fromLocalFile(applicationsFolder());
}

bool XdgBundleLocation::isApplicationsFolder(const QUrl& url)
{
    return localPath(url) == applicationsFolder();
}

QUrl XdgBundleLocation::bundleURL(const QString& applicationID)
{
    return QUrl::fromLocalFile(applicationsFolder() + QLatin1Char('/') + applicationID + bundleSuffix);
}

std::optional<QString> XdgBundleLocation::applicationID(const QUrl& url)
{
    const QString path = localPath(url);
    const QString folder = applicationsFolder() + QLatin1Char('/');
    if (!path.startsWith(folder) || !path.endsWith(bundleSuffix))
        return std::nullopt;
    const QString id = path.mid(folder.size(), path.size() - folder.size() - bundleSuffix.size());
    if (id.isEmpty() || id.contains(QLatin1Char('/')))
        return std::nullopt;
    return id;
}

} // namespace vesk::platform
