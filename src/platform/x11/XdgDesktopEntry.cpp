#include "platform/x11/XdgDesktopEntry.h"

#include "core/FileIO.h"
#include "platform/x11/XdgKeyFile.h"

namespace vesk::platform {

namespace {

const QString desktopEntryGroup = QStringLiteral("Desktop Entry");

} // namespace

std::variant<XdgDesktopEntry, QString> XdgDesktopEntry::parse(const QByteArray& data, const XdgLocale& locale)
{
    auto parsed = XdgKeyFile::parse(data);
    if (const auto* error = std::get_if<QString>(&parsed))
        return *error;
    const XdgKeyFile& file = std::get<XdgKeyFile>(parsed);
    if (file.groups().empty() || file.groups().front() != desktopEntryGroup)
        return QStringLiteral("the first group is not \"Desktop Entry\"");

    const QString& group = desktopEntryGroup;
    XdgDesktopEntry entry;
    entry.hidden = file.boolean(group, QStringLiteral("Hidden")).value_or(false);
    entry.type = file.string(group, QStringLiteral("Type")).value_or(QString());
    entry.name = file.localeString(group, QStringLiteral("Name"), locale).value_or(QString());
    entry.icon = file.localeString(group, QStringLiteral("Icon"), locale).value_or(QString());
    entry.exec = file.string(group, QStringLiteral("Exec")).value_or(QString());
    entry.tryExec = file.string(group, QStringLiteral("TryExec")).value_or(QString());
    entry.path = file.string(group, QStringLiteral("Path")).value_or(QString());
    entry.startupWMClass = file.string(group, QStringLiteral("StartupWMClass")).value_or(QString());
    entry.onlyShowIn = file.stringList(group, QStringLiteral("OnlyShowIn")).value_or(QStringList());
    entry.notShowIn = file.stringList(group, QStringLiteral("NotShowIn")).value_or(QStringList());
    entry.mimeTypes = file.stringList(group, QStringLiteral("MimeType")).value_or(QStringList());
    entry.noDisplay = file.boolean(group, QStringLiteral("NoDisplay")).value_or(false);
    entry.terminal = file.boolean(group, QStringLiteral("Terminal")).value_or(false);
    entry.dbusActivatable = file.boolean(group, QStringLiteral("DBusActivatable")).value_or(false);
    if (entry.hidden)
        return entry;

    if (entry.type.isEmpty())
        return QStringLiteral("no Type");
    if (entry.name.isEmpty())
        return QStringLiteral("no Name");
    if (entry.isApplication() && entry.exec.isEmpty() && !entry.dbusActivatable)
        return QStringLiteral("an application without Exec");
    return entry;
}

std::variant<XdgDesktopEntry, QString> XdgDesktopEntry::load(const QString& filePath, const XdgLocale& locale)
{
    const InputFileContents contents = readInputFile(filePath, maximumFileBytes);
    if (!contents.ok())
        return contents.error;
    return parse(contents.data, locale);
}

} // namespace vesk::platform
