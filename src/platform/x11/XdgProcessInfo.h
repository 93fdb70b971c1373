#pragma once

#include <QString>
#include <QStringList>

namespace vesk::platform {

// What /proc tells of a running process: the program it runs and its
// command line.
struct XdgProcessInfo {
    // The target of /proc/<pid>/exe, without the " (deleted)" of a program
    // replaced since it started; empty when it cannot be read (another
    // user's process, one that has ended).
    QString executablePath;
    // /proc/<pid>/cmdline split at its NUL bytes.
    QStringList commandLine;

    // The command line is read with a bound.
    static constexpr qint64 maximumCommandLineBytes = 256 * 1024;

    static XdgProcessInfo read(qint64 pid, const QString& procRoot = QStringLiteral("/proc"));

    bool operator==(const XdgProcessInfo&) const = default;
};

} // namespace vesk::platform
