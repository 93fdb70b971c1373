#include "scripted/RunDirectory.h"

#include "core/FileIO.h"
#include "store/ModelContainer.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>

namespace vesk {

namespace {

namespace fs = std::filesystem;

fs::path fileSystemPath(const QString& path)
{
    return fs::path(QDir::cleanPath(path).toStdString());
}

// What a run writes into its folder, besides the marker and the lock.
QStringList writtenEntries()
{
    const QString store = QString::fromUtf8(ModelContainer::storeFileName);
    return {QStringLiteral("desktop"),
            QStringLiteral("defaults"),
            QStringLiteral("screenshots"),
            QStringLiteral("logs"),
            store,
            store + QStringLiteral("-journal"),
            store + QStringLiteral("-wal"),
            store + QStringLiteral("-shm")};
}

bool isSameFolder(const QString& a, const QString& b)
{
    const QFileInfo first(a);
    const QFileInfo second(b);
    if (first.exists() && second.exists())
        return first.canonicalFilePath() == second.canonicalFilePath();
    return QDir::cleanPath(first.absoluteFilePath()) == QDir::cleanPath(second.absoluteFilePath());
}

// The folders the application itself keeps its store and its settings in:
// a run there would take them over even before they first exist.
bool isApplicationFolder(const QString& path)
{
    for (const QStandardPaths::StandardLocation location :
         {QStandardPaths::AppDataLocation, QStandardPaths::AppConfigLocation}) {
        if (isSameFolder(path, QStandardPaths::writableLocation(location)))
            return true;
    }
    return false;
}

std::optional<QString> writeMarker(const QString& folder)
{
    return writeFileAtomically(QDir(folder).filePath(QString::fromUtf8(RunDirectory::markerFileName)),
                               "A folder of scripted Vesk runs: the next run into it empties it.\n");
}

} // namespace

std::optional<QString> RunDirectory::claim(const QString& path)
{
    if (isApplicationFolder(path))
        return QStringLiteral(
                   "the run folder %1 is where the application keeps its own data; give a new folder instead")
            .arg(path);
    std::error_code error;
    const fs::path folder = fileSystemPath(path);
    switch (fs::symlink_status(folder, error).type()) {
    case fs::file_type::not_found:
        if (!QDir().mkpath(path))
            return QStringLiteral("cannot create the run folder %1").arg(path);
        return writeMarker(path);
    case fs::file_type::symlink:
        return QStringLiteral("the run folder %1 is a symbolic link; give a new folder instead").arg(path);
    case fs::file_type::directory:
        break;
    default:
        return QStringLiteral("the run folder %1 is not a folder").arg(path);
    }
    if (fs::symlink_status(folder / markerFileName, error).type() == fs::file_type::regular)
        return std::nullopt;
    return QStringLiteral("the run folder %1 was not made by a scripted run (it has no %2 file), and a run empties "
                          "its folder; give a new folder instead")
        .arg(path, QString::fromUtf8(markerFileName));
}

std::optional<QString> RunDirectory::clear(const QString& path)
{
    const fs::path folder = fileSystemPath(path);
    for (const QString& name : writtenEntries()) {
        const fs::path entry = folder / name.toStdString();
        std::error_code error;
        // A link is removed itself; remove_all never follows one.
        fs::remove_all(entry, error);
        if (error)
            return QStringLiteral("cannot remove %1 from the run folder: %2")
                .arg(QString::fromStdString(entry.string()), QString::fromStdString(error.message()));
    }
    return std::nullopt;
}

} // namespace vesk
