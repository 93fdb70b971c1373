#pragma once

#include "platform/x11/XdgLocale.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>

namespace vesk::platform {

// The fields of a desktop entry ("[Desktop Entry]" of a ".desktop" file)
// that Vesk reads, strings with their escapes undone.
struct XdgDesktopEntry {
    // "Application", "Link", "Directory"; empty only for a hidden entry.
    QString type;
    // For the locale asked for, else the unlocalised name.
    QString name;
    QString icon;
    // The command line with its string escapes undone but its quoting kept
    // (XdgExecLine parses it).
    QString exec;
    QString tryExec;
    // The working folder to start the program in.
    QString path;
    QString startupWMClass;
    QStringList onlyShowIn;
    QStringList notShowIn;
    QStringList mimeTypes;
    bool noDisplay = false;
    // The entry stands for one deleted, the same as no file at all.
    bool hidden = false;
    bool terminal = false;
    bool dbusActivatable = false;

    // Files larger than this are not desktop entries.
    static constexpr qint64 maximumFileBytes = 1024 * 1024;

    // The entry, or why it was refused: a malformed file, a first group
    // other than "Desktop Entry", no Type or Name, an application with no
    // Exec that D-Bus does not start either. A hidden entry needs none of
    // these keys.
    static std::variant<XdgDesktopEntry, QString> parse(const QByteArray& data, const XdgLocale& locale);
    // The file read with a bound; a refusal names the reason.
    static std::variant<XdgDesktopEntry, QString> load(const QString& filePath, const XdgLocale& locale);

    bool isApplication() const { return type == QStringLiteral("Application"); }

    bool operator==(const XdgDesktopEntry&) const = default;
};

} // namespace vesk::platform
