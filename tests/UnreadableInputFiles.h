#pragma once

#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <utility>
#include <vector>

#include <sys/stat.h>

namespace vesk::test {

// Paths no input file may be read from, each with the reason a reader gives:
// a device that never ends, a FIFO that blocks, a file over 16 MiB.
inline std::vector<std::pair<QString, QString>> unreadableInputFiles(const QTemporaryDir& directory)
{
    const QString fifo = directory.filePath("fifo.json");
    ::mkfifo(fifo.toLocal8Bit().constData(), 0600);
    QFile large(directory.filePath("large.json"));
    if (large.open(QIODevice::WriteOnly))
        large.resize(16 * 1024 * 1024 + 1);
    return {
        {"/dev/zero", "not a regular file"},
        {fifo, "not a regular file"},
        {large.fileName(), "larger than 16777216 bytes"},
    };
}

} // namespace vesk::test
