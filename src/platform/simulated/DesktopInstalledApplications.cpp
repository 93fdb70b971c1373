#include "platform/simulated/DesktopInstalledApplications.h"

#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace vesk::platform {

namespace {

// The display name of an application bundle's path: its folder name without ".app".
QString bundleDisplayName(const QString& folder)
{
    QString name = QFileInfo(folder).fileName();
    if (name.endsWith(QStringLiteral(".app")))
        name.chop(4);
    return name;
}

} // namespace

std::vector<InstalledApplication> DesktopInstalledApplications::installedApplications() const
{
    std::vector<InstalledApplication> installed;
    for (const QString& folder : {QStringLiteral("/Applications"), QStringLiteral("/System/Applications")}) {
        const QDir directory(desktop_.filesystemPath(folder));
        for (const QString& entry : directory.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
            if (QFileInfo(entry).suffix() != QStringLiteral("app"))
                continue;
            const auto bundle = ApplicationBundle::open(directory.filePath(entry));
            const auto identifier = bundle ? bundle->bundleIdentifier() : std::nullopt;
            if (identifier)
                installed.push_back({*identifier, bundleDisplayName(entry),
                                     desktop_.urlForPlatformPath(folder + QLatin1Char('/') + entry)});
        }
    }
    const bool hasFinder = std::any_of(installed.begin(), installed.end(), [](const InstalledApplication& app) {
        return app.bundleIdentifier == kFinderBundleIdentifier;
    });
    if (!hasFinder)
        installed.push_back({kFinderBundleIdentifier, bundleDisplayName(kFinderBundlePath),
                             desktop_.urlForPlatformPath(kFinderBundlePath)});
    std::stable_sort(installed.begin(), installed.end(), [](const InstalledApplication& a, const InstalledApplication& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    return installed;
}

} // namespace vesk::platform
