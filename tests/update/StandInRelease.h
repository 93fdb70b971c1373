#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vesk::test {

// A tiny Vesk in the install layout: its program bin/vesk is a shell script
// that writes its own path and its arguments, one a line, to `marker` when it
// runs.
inline bool writeStandInPrefix(const QString& prefix, const QString& marker)
{
    if (!QDir().mkpath(prefix + "/bin") || !QDir().mkpath(prefix + "/share/doc/vesk"))
        return false;
    QFile program(prefix + "/bin/vesk");
    if (!program.open(QIODevice::WriteOnly))
        return false;
    program.write("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" > '" + QFile::encodeName(marker) + "'\n");
    program.close();
    QFile readme(prefix + "/share/doc/vesk/README.md");
    return program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                  | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther)
           && readme.open(QIODevice::WriteOnly) && readme.write("Vesk\n") == 5;
}

// The release archive of a stand-in prefix (a .tar.gz of its contents), made
// in `work`; empty when tar fails.
inline QByteArray standInArchive(const QString& work, const QString& marker)
{
    const QString prefix = work + "/stand-in-prefix";
    QDir(prefix).removeRecursively();
    if (!writeStandInPrefix(prefix, marker))
        return {};
    const QString archivePath = work + "/stand-in.tar.gz";
    QProcess tar;
    tar.start("tar", {"--create", "--gzip", "--file", archivePath, "--directory", prefix, "."});
    if (!tar.waitForFinished(30000) || tar.exitCode() != 0)
        return {};
    QFile archive(archivePath);
    return archive.open(QIODevice::ReadOnly) ? archive.readAll() : QByteArray();
}

// A Vesk of `version` installed into its own folder `root`: the stand-in in
// root/versions/<version> and root/current naming it. Its program's path.
inline QString installStandIn(const QString& root, const QString& version, const QString& marker)
{
    const QString prefix = root + "/versions/" + version;
    if (!writeStandInPrefix(prefix, marker) || !QFile::link("versions/" + version, root + "/current"))
        return {};
    return prefix + "/bin/vesk";
}

// What a stand-in wrote when it ran: its path, then its arguments; empty while it has not run.
inline QStringList standInRun(const QString& marker)
{
    QFile file(marker);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLocal8Bit(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace vesk::test
