#include "platform/x11/XdgBundleReader.h"

#include "platform/x11/XdgExecLine.h"
#include "platform/x11/XdgInstalledApplications.h"

#include <QFileInfo>
#include <QVariantList>

namespace vesk::platform {

namespace {

const QString schemeHandlerPrefix = QStringLiteral("x-scheme-handler/");

QVariantList urlSchemes(const XdgDesktopEntry& entry)
{
    QVariantList schemes;
    for (const QString& type : entry.mimeTypes) {
        if (type.startsWith(schemeHandlerPrefix, Qt::CaseInsensitive) && type.size() > schemeHandlerPrefix.size())
            schemes.append(type.mid(schemeHandlerPrefix.size()).toLower());
    }
    return schemes;
}

} // namespace

std::optional<QVariantMap> XdgBundleReader::infoDictionary(const QUrl& bundleURL) const
{
    const auto application = applications_.application(bundleURL);
    if (!application)
        return std::nullopt;
    return infoDictionary(*application);
}

QVariantMap XdgBundleReader::infoDictionary(const XdgApplication& application)
{
    QVariantMap info;
    info.insert(QStringLiteral("CFBundleIdentifier"), application.id);
    info.insert(QStringLiteral("CFBundleName"), application.entry.name);
    info.insert(QStringLiteral("CFBundleDisplayName"), application.entry.name);
    const qsizetype program = XdgExecLine::programIndex(application.command);
    if (program < application.command.size())
        info.insert(QStringLiteral("CFBundleExecutable"), QFileInfo(application.command[program]).fileName());
    if (!application.entry.icon.isEmpty())
        info.insert(QStringLiteral("CFBundleIconFile"), application.entry.icon);
    const QVariantList schemes = urlSchemes(application.entry);
    if (!schemes.isEmpty()) {
        const QVariantMap urlType{{QStringLiteral("CFBundleURLName"), application.id},
                                  {QStringLiteral("CFBundleURLSchemes"), schemes}};
        info.insert(QStringLiteral("CFBundleURLTypes"), QVariantList{urlType});
    }
    return info;
}

} // namespace vesk::platform
