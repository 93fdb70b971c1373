#include "update/OwnFolderInstallation.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace vesk {

namespace {

const QString currentLinkName = QStringLiteral("current");
const QString incomingPrefix = QStringLiteral(".incoming-");

// A version names a folder: no separators, no "." or "..".
bool isFolderName(const QString& version)
{
    static const QRegularExpression form(QStringLiteral("^[0-9A-Za-z][0-9A-Za-z.-]*$"));
    return form.match(version).hasMatch() && !version.contains(QStringLiteral(".."));
}

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace

OwnFolderInstallation::OwnFolderInstallation(QString root, QString runningVersion, QString executableName)
    : root_(std::move(root))
    , runningVersion_(std::move(runningVersion))
    , executableName_(std::move(executableName))
{
}

OwnFolderInstallation::Origin OwnFolderInstallation::originOf(const QString& executablePath)
{
    if (of(executablePath))
        return Origin::ownFolder;
    const QString path = QDir::cleanPath(executablePath);
    if (path.startsWith(QStringLiteral("/usr/")) && !path.startsWith(QStringLiteral("/usr/local/")))
        return Origin::packageManager;
    return Origin::elsewhere;
}

std::optional<OwnFolderInstallation> OwnFolderInstallation::of(const QString& executablePath)
{
    const QFileInfo executable(executablePath);
    QDir bin = executable.absoluteDir();
    QDir versionFolder = bin;
    QDir versions = bin;
    if (bin.dirName() != QLatin1String("bin") || !versionFolder.cdUp() || !versions.cdUp() || !versions.cdUp()
        || versions.dirName() != QLatin1String("versions") || !isFolderName(versionFolder.dirName()))
        return std::nullopt;
    QDir root = versions;
    if (!root.cdUp() || !QFileInfo(root.filePath(currentLinkName)).isSymLink())
        return std::nullopt;
    return OwnFolderInstallation(root.absolutePath(), versionFolder.dirName(), executable.fileName());
}

QString OwnFolderInstallation::versionsFolder() const
{
    return root_ + QStringLiteral("/versions");
}

QString OwnFolderInstallation::executableOf(const QString& version) const
{
    return versionsFolder() + QLatin1Char('/') + version + QStringLiteral("/bin/") + executableName_;
}

QString OwnFolderInstallation::currentVersion() const
{
    const QString target = QFileInfo(root_ + QLatin1Char('/') + currentLinkName).symLinkTarget();
    const QFileInfo resolved(target);
    if (target.isEmpty() || resolved.absolutePath() != QFileInfo(versionsFolder()).absoluteFilePath())
        return {};
    return resolved.fileName();
}

std::optional<QString> OwnFolderInstallation::install(const QString& archivePath, const QString& version) const
{
    if (!isFolderName(version))
        return QStringLiteral("\"%1\" cannot name a version's folder").arg(version);
    if (version == runningVersion_ || version == currentVersion())
        return QStringLiteral("version %1 is the one installed").arg(version);
    const QString staging = versionsFolder() + QLatin1Char('/') + incomingPrefix + version;
    const QString target = versionsFolder() + QLatin1Char('/') + version;
    QDir(staging).removeRecursively();
    if (!QDir().mkpath(staging))
        return QStringLiteral("cannot create ") + staging;

    std::optional<QString> problem = unpack(archivePath, staging);
    if (!problem)
        problem = checkUnpacked(staging);
    // An earlier try of this version that never became current makes way.
    if (!problem && !QDir(target).removeRecursively())
        problem = QStringLiteral("cannot remove the earlier ") + target;
    if (!problem && std::rename(QFile::encodeName(staging).constData(), QFile::encodeName(target).constData()) != 0)
        problem = QStringLiteral("cannot move the unpacked version into place: ") + systemError();
    if (!problem) {
        problem = switchCurrentTo(version);
        if (problem)
            QDir(target).removeRecursively();
    }
    QDir(staging).removeRecursively();
    return problem;
}

std::optional<QString> OwnFolderInstallation::unpack(const QString& archivePath, const QString& folder) const
{
    QProcess tar;
    tar.setProcessChannelMode(QProcess::MergedChannels);
    tar.start(QStringLiteral("tar"),
              {QStringLiteral("--extract"), QStringLiteral("--gzip"), QStringLiteral("--no-same-owner"),
               QStringLiteral("--file"), archivePath, QStringLiteral("--directory"), folder});
    if (!tar.waitForStarted())
        return QStringLiteral("tar did not start: ") + tar.errorString();
    if (!tar.waitForFinished(unpackTimeoutMs)) {
        tar.kill();
        tar.waitForFinished();
        return QStringLiteral("unpacking took too long");
    }
    if (tar.exitStatus() != QProcess::NormalExit || tar.exitCode() != 0)
        return QStringLiteral("the archive could not be unpacked: ") + QString::fromLocal8Bit(tar.readAll()).trimmed();
    return std::nullopt;
}

std::optional<QString> OwnFolderInstallation::checkUnpacked(const QString& folder) const
{
    const QFileInfo program(folder + QStringLiteral("/bin/") + executableName_);
    if (program.isSymLink() || !program.isFile() || !program.isExecutable())
        return QStringLiteral("the archive has no program bin/") + executableName_;
    return std::nullopt;
}

// A new link beside `current`, renamed over it: the switch either happens whole or not at all.
std::optional<QString> OwnFolderInstallation::switchCurrentTo(const QString& version) const
{
    const QByteArray link = QFile::encodeName(root_ + QLatin1Char('/') + incomingPrefix + currentLinkName);
    const QByteArray current = QFile::encodeName(root_ + QLatin1Char('/') + currentLinkName);
    const QByteArray target = QFile::encodeName(QStringLiteral("versions/") + version);
    ::unlink(link.constData());
    if (::symlink(target.constData(), link.constData()) != 0)
        return QStringLiteral("cannot make the new link: ") + systemError();
    if (std::rename(link.constData(), current.constData()) != 0) {
        const QString error = systemError();
        ::unlink(link.constData());
        return QStringLiteral("cannot switch the current version: ") + error;
    }
    return std::nullopt;
}

void OwnFolderInstallation::removeOtherVersions() const
{
    if (currentVersion() != runningVersion_)
        return;
    const QDir versions(versionsFolder());
    for (const QString& name : versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden)) {
        if (name != runningVersion_)
            QDir(versions.filePath(name)).removeRecursively();
    }
}

} // namespace vesk
