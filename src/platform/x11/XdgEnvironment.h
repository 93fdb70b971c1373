#pragma once

#include "platform/x11/XdgLocale.h"

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vesk::platform {

// What the desktop's applications are looked up by: the XDG data folders,
// the current desktop, the program search path, the message locale and the
// icon theme. Tests build one over folders of their own.
struct XdgEnvironment {
    QString home;
    // $XDG_DATA_HOME, by default ~/.local/share.
    QString dataHome;
    // $XDG_DATA_DIRS, by default /usr/local/share and /usr/share.
    QStringList dataDirs;
    // $XDG_CURRENT_DESKTOP, split at ':'.
    QStringList currentDesktops;
    // $PATH.
    QStringList executableSearchPath;
    XdgLocale locale;
    // The current icon theme; hicolor is always searched after it.
    QString iconTheme;

    // The data home, then the data folders: the earlier one wins.
    QStringList dataFolders() const;
    // Where an executable file `program` is: an absolute path, or a name
    // found on the search path, as found (a link is not followed, so that a
    // program started by it sees the name it expects). Empty otherwise.
    QString findProgram(const QString& program) const;
    // The canonical file of findProgram, to compare programs by.
    QString findExecutable(const QString& program) const;

    // From the variables (HOME, XDG_DATA_HOME, XDG_DATA_DIRS,
    // XDG_CURRENT_DESKTOP, PATH, LC_ALL, LC_MESSAGES, LANG). Relative
    // folders are ignored, as the base directory rules ask.
    static XdgEnvironment fromVariables(const QProcessEnvironment& variables);
    // This process's, with the icon theme Qt uses.
    static XdgEnvironment fromProcess();
};

} // namespace vesk::platform
