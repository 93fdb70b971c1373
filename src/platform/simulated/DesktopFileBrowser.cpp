#include "platform/simulated/DesktopFileBrowser.h"

#include "platform/simulated/ApplicationBundle.h"
#include "platform/simulated/DesktopScreenCapturer.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

namespace vesk::platform {

QUrl DesktopFileBrowser::fileURL(const QString& systemPath) const
{
    return desktop_.urlForPlatformPath(systemPath);
}

std::optional<std::vector<QUrl>> DesktopFileBrowser::contentsOfDirectory(const QUrl& folder) const
{
    const QFileInfo info(folder.toLocalFile());
    if (!folder.isLocalFile() || !info.isDir() || !info.isReadable() || !info.isExecutable())
        return std::nullopt;
    const QDir directory(info.filePath());
    std::vector<QUrl> contents;
    for (const QString& entry : directory.entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name))
        contents.push_back(QUrl::fromLocalFile(directory.filePath(entry)));
    return contents;
}

QString DesktopFileBrowser::displayNameAtPath(const QUrl& url) const
{
    QString name = QFileInfo(url.toLocalFile()).fileName();
    if (name.endsWith(QStringLiteral(".app")))
        name.chop(4);
    return name;
}

QImage DesktopFileBrowser::iconForFile(const QUrl& url) const
{
    const auto bundle = ApplicationBundle::open(url.toLocalFile());
    const QString key = bundle ? bundle->bundleIdentifier().value_or(url.toLocalFile()) : url.toLocalFile();
    QImage icon(iconSize, iconSize, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(bundle ? DesktopScreenCapturer::windowColour(key) : QColor(170, 170, 170));
    painter.drawRoundedRect(QRectF(4, 4, iconSize - 8, iconSize - 8), 12, 12);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setPixelSize(iconSize / 2);
    font.setBold(true);
    painter.setFont(font);
    painter.drawText(QRectF(0, 0, iconSize, iconSize), Qt::AlignCenter, displayNameAtPath(url).left(1).toUpper());
    return icon;
}

} // namespace vesk::platform
