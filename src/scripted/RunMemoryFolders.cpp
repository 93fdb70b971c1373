#include "scripted/RunMemoryFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/vfs.h>
#include <unistd.h>

#include <filesystem>

namespace vesk {

namespace {

namespace fs = std::filesystem;

// linux/magic.h
constexpr decltype(statfs::f_type) tmpfsMagic = 0x01021994;
constexpr decltype(statfs::f_type) ramfsMagic = static_cast<decltype(statfs::f_type)>(0x858458f6);

fs::path fileSystemPath(const QString& path)
{
    return fs::path(QFile::encodeName(QDir::cleanPath(path)).toStdString());
}

std::optional<QString> failure(const QString& what, const fs::path& path, const std::error_code& error)
{
    return QStringLiteral("%1 %2: %3")
        .arg(what, QString::fromStdString(path.string()), QString::fromStdString(error.message()));
}

// Moves what `from` holds into the new folder `to`, on another file system.
std::optional<QString> moveFolder(const fs::path& from, const fs::path& to)
{
    std::error_code error;
    fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::copy_symlinks, error);
    if (error)
        return failure(QStringLiteral("cannot copy"), from, error);
    fs::remove_all(from, error);
    if (error)
        return failure(QStringLiteral("cannot remove"), from, error);
    return std::nullopt;
}

} // namespace

bool RunMemoryFolders::isInMemory(const QString& path)
{
    struct statfs info { };
    if (::statfs(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return info.f_type == tmpfsMagic || info.f_type == ramfsMagic;
}

QString RunMemoryFolders::memoryBackedPlace()
{
    for (const QString& candidate : {qEnvironmentVariable("XDG_RUNTIME_DIR"), QStringLiteral("/dev/shm")}) {
        if (!candidate.isEmpty() && QFileInfo(candidate).isDir() && isInMemory(candidate)
            && ::access(QFile::encodeName(candidate).constData(), W_OK | X_OK) == 0)
            return candidate;
    }
    return {};
}

std::unique_ptr<RunMemoryFolders> RunMemoryFolders::linkInto(const QString& runDirectory, const QStringList& names)
{
    const QString place = memoryBackedPlace();
    if (place.isEmpty() || isInMemory(runDirectory))
        return nullptr;
    auto memory = std::make_unique<QTemporaryDir>(QDir(place).filePath(QStringLiteral("vesk-run-XXXXXX")));
    if (!memory->isValid())
        return nullptr;
    QStringList linked;
    for (const QString& name : names) {
        std::error_code error;
        const fs::path target = fileSystemPath(memory->filePath(name));
        fs::create_directory(target, error);
        if (!error)
            fs::create_directory_symlink(target, fileSystemPath(QDir(runDirectory).filePath(name)), error);
        if (error) {
            for (const QString& made : linked)
                fs::remove(fileSystemPath(QDir(runDirectory).filePath(made)), error);
            return nullptr;
        }
        linked << name;
    }
    return std::unique_ptr<RunMemoryFolders>(new RunMemoryFolders(runDirectory, names, std::move(memory)));
}

RunMemoryFolders::RunMemoryFolders(const QString& runDirectory, const QStringList& names,
                                   std::unique_ptr<QTemporaryDir> memory)
    : runDirectory_(runDirectory)
    , names_(names)
    , memory_(std::move(memory))
{
}

RunMemoryFolders::~RunMemoryFolders()
{
    moveIntoRunFolder();
}

std::optional<QString> RunMemoryFolders::moveIntoRunFolder()
{
    std::optional<QString> firstFailure;
    for (const QString& name : std::exchange(names_, {})) {
        const fs::path link = fileSystemPath(QDir(runDirectory_).filePath(name));
        std::error_code error;
        // Only the link made here is replaced; anything else in its place stays.
        std::optional<QString> failed;
        if (!fs::is_symlink(fs::symlink_status(link, error)) || !fs::remove(link, error))
            failed = failure(QStringLiteral("cannot replace the link"), link, error);
        else
            failed = moveFolder(fileSystemPath(memory_->filePath(name)), link);
        if (failed && !firstFailure)
            firstFailure = failed;
    }
    if (firstFailure)
        memory_->setAutoRemove(false);
    return firstFailure;
}

} // namespace vesk
