#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace vesk {

// The run folder's entries that are written many times a second of virtual
// time, kept in memory while the run goes on. The application synchronises
// every log row and every settings change to the disk, as it must; on a disk
// that makes a one-hour run take most of a minute. Each such entry of the run
// folder is a link into a folder in memory during the run (the paths the
// application sees and the report names stay those of the run folder), and
// `moveIntoRunFolder` puts a plain folder with what was written in its place.
// Without a memory-backed place, or when the run folder is in memory itself,
// the entries are left to be made in the run folder as usual.
class RunMemoryFolders {
public:
    // Links each of `names` in the claimed and emptied `runDirectory` to a
    // new folder in memory; none when there is no memory-backed place or a
    // link cannot be made (what was made is taken back).
    static std::unique_ptr<RunMemoryFolders> linkInto(const QString& runDirectory, const QStringList& names);
    ~RunMemoryFolders();
    RunMemoryFolders(const RunMemoryFolders&) = delete;
    RunMemoryFolders& operator=(const RunMemoryFolders&) = delete;

    // Replaces every link by a folder holding what was written through it;
    // the reason when something could not be moved (it then stays in memory,
    // at the path the reason names, for good). Once only.
    std::optional<QString> moveIntoRunFolder();

    // The first folder of $XDG_RUNTIME_DIR and /dev/shm that is in memory and
    // writable; empty when there is none.
    static QString memoryBackedPlace();
    static bool isInMemory(const QString& path);

private:
    RunMemoryFolders(const QString& runDirectory, const QStringList& names, std::unique_ptr<QTemporaryDir> memory);

    QString runDirectory_;
    QStringList names_;
    std::unique_ptr<QTemporaryDir> memory_;
};

} // namespace vesk
