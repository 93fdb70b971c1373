#include "platform/simulated/DesktopBundleRegistry.h"

#include "platform/simulated/ApplicationBundle.h"

#include <QDir>

#include <algorithm>

namespace vesk::platform {

DesktopBundleRegistry::DesktopBundleRegistry(QString desktopRoot) : desktopRoot_(std::move(desktopRoot))
{
}

QString DesktopBundleRegistry::filesystemPath(const QString& platformPath) const
{
    if (platformPath.startsWith(QLatin1Char('/')))
        return desktopRoot_ + platformPath;
    return desktopRoot_ + QLatin1Char('/') + platformPath;
}

bool DesktopBundleRegistry::installBundle(const BundleSpec& spec, QString* error)
{
    // The folder must stay under the desktop root: no "..", no "." components.
    const bool clean = QDir::cleanPath(spec.path) == spec.path && !spec.path.contains(QLatin1String("/../"))
                       && !spec.path.contains(QLatin1String("/./"));
    if (!spec.path.startsWith(QLatin1Char('/')) || !spec.path.endsWith(QLatin1String(".app")) || !clean) {
        if (error)
            *error = QStringLiteral("bundle path must be absolute, plain and end in .app: ") + spec.path;
        return false;
    }
    if (!ApplicationBundle::write(spec, filesystemPath(spec.path), error))
        return false;
    const auto existing =
        std::find_if(bundles_.begin(), bundles_.end(), [&](const BundleSpec& b) { return b.path == spec.path; });
    if (existing != bundles_.end())
        *existing = spec;
    else
        bundles_.push_back(spec);
    return true;
}

const BundleSpec* DesktopBundleRegistry::bundleAtPath(const QString& platformPath) const
{
    QString path = platformPath;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    for (const BundleSpec& bundle : bundles_) {
        if (bundle.path == path)
            return &bundle;
    }
    return nullptr;
}

const BundleSpec* DesktopBundleRegistry::bundleForIdentifier(const QString& bundleIdentifier) const
{
    // The workspace prefers "/Applications" over the system folders.
    const BundleSpec* found = nullptr;
    for (const BundleSpec& bundle : bundles_) {
        if (bundle.bundleIdentifier != bundleIdentifier)
            continue;
        if (bundle.path.startsWith(QLatin1String("/Applications/")))
            return &bundle;
        if (!found)
            found = &bundle;
    }
    return found;
}

std::optional<QString> DesktopBundleRegistry::platformPathForURL(const QUrl& url) const
{
    if (!url.isLocalFile())
        return std::nullopt;
    QString path = url.toLocalFile();
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (!path.startsWith(desktopRoot_ + QLatin1Char('/')))
        return std::nullopt;
    return path.mid(desktopRoot_.size());
}

QUrl DesktopBundleRegistry::urlForPlatformPath(const QString& platformPath) const
{
    return QUrl::fromLocalFile(filesystemPath(platformPath));
}

} // namespace vesk::platform
