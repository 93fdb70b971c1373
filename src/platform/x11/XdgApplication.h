#pragma once

#include "platform/x11/XdgDesktopEntry.h"

#include <QString>
#include <QStringList>

namespace vesk::platform {

// An installed application: a desktop entry of type Application under a
// data folder's "applications", known by its desktop file id.
struct XdgApplication {
    // The desktop file id without ".desktop": the path below "applications"
    // with '/' turned into '-' ("org.gnome.TextEditor", "kde-dolphin").
    QString id;
    QString filePath;
    XdgDesktopEntry entry;
    // Listed in menus: not NoDisplay, meant for the current desktop, its
    // TryExec program present.
    bool shown = false;
    // The Exec line's arguments (quoting undone, field codes in); empty when
    // the line cannot be parsed.
    QStringList command;
    // The canonical file of the program the Exec line runs (past an "env")
    // when it is found; empty otherwise.
    QString executablePath;

    bool operator==(const XdgApplication&) const = default;
};

} // namespace vesk::platform
