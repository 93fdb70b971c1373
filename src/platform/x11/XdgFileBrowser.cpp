#include "platform/x11/XdgFileBrowser.h"

#include "platform/x11/XdgBundleLocation.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>

namespace vesk::platform {

namespace {

// A grey tile with the name's initial, for a file the theme has no icon for.
QImage drawnIcon(const QString& name)
{
    const int side = XdgFileBrowser::iconSize;
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(150, 150, 160));
    painter.drawRoundedRect(QRectF(4, 4, side - 8, side - 8), 12, 12);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(side / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, side, side), Qt::AlignCenter, name.left(1).toUpper());
    return icon;
}

std::vector<QUrl> applicationBundles(const XdgApplicationCatalog& catalog)
{
    QStringList ids;
    for (const XdgApplication* application : catalog.shownApplications()) {
        if (!application->id.startsWith(QLatin1Char('.')))
            ids.append(application->id);
    }
    ids.sort();
    std::vector<QUrl> bundles;
    for (const QString& id : ids)
        bundles.push_back(XdgBundleLocation::bundleURL(id));
    return bundles;
}

} // namespace

QUrl XdgFileBrowser::fileURL(const QString& systemPath) const
{
    return QUrl::fromLocalFile(QDir::cleanPath(systemPath));
}

std::optional<std::vector<QUrl>> XdgFileBrowser::contentsOfDirectory(const QUrl& folder) const
{
    if (XdgBundleLocation::isApplicationsFolder(folder))
        return applicationBundles(*applications_.rescan());
    const QFileInfo info(folder.toLocalFile());
    if (!folder.isLocalFile() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return std::nullopt;
    const QDir directory(info.filePath());
    std::vector<QUrl> contents;
    for (const QString& entry : directory.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
        contents.push_back(QUrl::fromLocalFile(directory.filePath(entry)));
    return contents;
}

QString XdgFileBrowser::displayNameAtPath(const QUrl& url) const
{
    if (const auto application = applications_.application(url))
        return application->entry.name;
    const QString name = url.fileName();
    if (XdgBundleLocation::applicationID(url))
        return name.chopped(QStringLiteral(".app").size());
    return name.isEmpty() ? url.path() : name;
}

QImage XdgFileBrowser::iconForFile(const QUrl& url) const
{
    const auto icons = applications_.icons();
    const auto application = applications_.application(url);
    QStringList names;
    if (application && !application->entry.icon.isEmpty())
        names.append(application->entry.icon);
    if (XdgBundleLocation::applicationID(url))
        names.append(QStringLiteral("application-x-executable"));
    else if (QFileInfo(url.toLocalFile()).isDir())
        names.append(QStringLiteral("folder"));
    else
        names.append(QStringLiteral("text-x-generic"));
    for (const QString& name : names) {
        const QImage icon = icons->image(name, iconSize);
        if (!icon.isNull())
            return icon;
    }
    return drawnIcon(displayNameAtPath(url));
}

} // namespace vesk::platform
