#include "enforcement/InstalledApp.h"

#include "platform/ApplicationBundleReading.h"
#include "platform/FileBrowsing.h"

#include <QCollator>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace vesk {

namespace {

const QString finderBundleID = QStringLiteral("com.apple.finder");
const QString finderPath = QStringLiteral("/System/Library/CoreServices/Finder.app");

std::optional<InstalledApp> installedApp(const QUrl& url, const platform::FileBrowsing& files,
                                         const platform::ApplicationBundleReading& bundles)
{
    const auto info = bundles.infoDictionary(url);
    const QVariant identifier = info ? info->value(QStringLiteral("CFBundleIdentifier")) : QVariant();
    const QString id = identifier.typeId() == QMetaType::QString ? identifier.toString() : QString();
    if (id.isEmpty())
        return std::nullopt;
    const QImage icon = files.iconForFile(url).scaled(InstalledApp::iconSize, InstalledApp::iconSize,
                                                      Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return InstalledApp{id, files.displayNameAtPath(url), icon, url};
}

} // namespace

std::vector<InstalledApp> InstalledApp::discoverAll(const platform::FileBrowsing& files,
                                                    const platform::ApplicationBundleReading& bundles)
{
    std::vector<InstalledApp> apps;
    for (const QString& folder : {QStringLiteral("/Applications"), QStringLiteral("/System/Applications")}) {
        const auto contents = files.contentsOfDirectory(files.fileURL(folder));
        if (!contents)
            continue;
        for (const QUrl& entry : *contents) {
            if (QFileInfo(entry.path()).suffix() != QStringLiteral("app"))
                continue;
            if (auto app = installedApp(entry, files, bundles))
                apps.push_back(std::move(*app));
        }
    }
    const bool hasFinder =
        std::any_of(apps.begin(), apps.end(), [](const InstalledApp& app) { return app.id == finderBundleID; });
    if (!hasFinder) {
        if (auto finder = installedApp(files.fileURL(finderPath), files, bundles))
            apps.push_back(std::move(*finder));
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(apps.begin(), apps.end(), [&collator](const InstalledApp& a, const InstalledApp& b) {
        return collator.compare(a.name, b.name) < 0;
    });
    return apps;
}

} // namespace vesk
