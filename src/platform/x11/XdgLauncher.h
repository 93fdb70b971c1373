#pragma once

#include "platform/x11/XdgApplication.h"
#include "platform/x11/XdgEnvironment.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>
#include <vector>

namespace vesk::platform {

// What a launch started, or why it started nothing.
struct XdgLaunchResult {
    // The processes started, one per command.
    std::vector<qint64> processIDs;
    // The description a workspace's open completion reports; none on success.
    std::optional<QString> error;
};

// Starts applications through their desktop entries' Exec lines, as
// processes of their own that outlive Vesk.
class XdgLauncher {
public:
    // `terminal` runs the command line that follows it: Debian's alternative
    // for the user's terminal emulator by default.
    explicit XdgLauncher(XdgEnvironment environment,
                         QStringList terminal = {QStringLiteral("x-terminal-emulator"), QStringLiteral("-e")});

    // Starts the application with the documents (files and URLs) its field
    // codes take (XdgExecLine::commands: one process, or one per document)
    // and `arguments` right after the program; in a terminal for an entry
    // that asks for one; in the entry's Path, else the home folder. The
    // program must be found before anything starts; a command that fails to
    // start ends the launch with its error.
    XdgLaunchResult launch(const XdgApplication& application, const QList<QUrl>& documents = {},
                           const QStringList& arguments = {}) const;

private:
    std::optional<QString> resolveProgram(QStringList& command) const;

    XdgEnvironment environment_;
    QStringList terminal_;
};

} // namespace vesk::platform
