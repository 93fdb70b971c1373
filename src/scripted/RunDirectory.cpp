#include "scripted/RunDirectory.h"

#include "app/InstanceLock.h"
#include "core/FileIO.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <filesystem>
#include <set>
#include <vector>

namespace vesk {

namespace {

namespace fs = std::filesystem;

fs::path fileSystemPath(const QString& path)
{
    return fs::path(QDir::cleanPath(path).toStdString());
}

// Whether `entry` is a folder (not a link to one) on the way to a kept path.
bool leadsToKeptPath(const fs::path& entry, const std::set<fs::path>& kept)
{
    std::error_code error;
    if (fs::symlink_status(entry, error).type() != fs::file_type::directory)
        return false;
    const std::string prefix = entry.generic_string() + "/";
    return std::any_of(kept.begin(), kept.end(),
                       [&](const fs::path& path) { return path.generic_string().starts_with(prefix); });
}

// Removes everything in `folder` but the kept paths; a link is removed
// itself, never what it points to.
std::optional<QString> removeAllBut(const fs::path& folder, const std::set<fs::path>& kept)
{
    std::error_code error;
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        entries.push_back(it->path());
    if (error)
        return QStringLiteral("cannot list the run folder %1: %2")
            .arg(QString::fromStdString(folder.string()), QString::fromStdString(error.message()));
    for (const fs::path& entry : entries) {
        if (kept.count(entry))
            continue;
        if (leadsToKeptPath(entry, kept)) {
            if (std::optional<QString> failure = removeAllBut(entry, kept))
                return failure;
            continue;
        }
        fs::remove_all(entry, error);
        if (error)
            return QStringLiteral("cannot remove %1 from the run folder: %2")
                .arg(QString::fromStdString(entry.string()), QString::fromStdString(error.message()));
    }
    return std::nullopt;
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

std::optional<QString> RunDirectory::clear(const QString& path, const QStringList& inputs)
{
    const fs::path folder = fileSystemPath(QFileInfo(path).canonicalFilePath());
    std::set<fs::path> kept{folder / markerFileName, folder / InstanceLock::fileName};
    for (const QString& input : inputs) {
        // Folders are compared by their real paths, so that a link on the way
        // does not hide an input; the input itself stays as named (a link to
        // the script stays a link).
        const QFileInfo file(input);
        if (!input.isEmpty() && file.absoluteDir().exists())
            kept.insert(fileSystemPath(file.absoluteDir().canonicalPath()) / file.fileName().toStdString());
    }
    return removeAllBut(folder, kept);
}

} // namespace vesk
