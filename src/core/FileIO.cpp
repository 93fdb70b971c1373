#include "core/FileIO.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

std::mutex gFaultMutex;
FileWriteFaultInjector gFaultInjector;

std::optional<QString> injectedFault(const QString& path)
{
    std::lock_guard lock(gFaultMutex);
    return gFaultInjector ? gFaultInjector(path) : std::nullopt;
}

QString notRegular()
{
    return QStringLiteral("not a regular file");
}

QString tooLarge(qint64 maximumBytes)
{
    return QStringLiteral("larger than %1 bytes").arg(maximumBytes);
}

QString systemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

struct OpenFile {
    int descriptor;
    ~OpenFile()
    {
        if (descriptor >= 0)
            ::close(descriptor);
    }
};

InputFileContents readResource(const QString& path, qint64 maximumBytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    QByteArray data = file.read(maximumBytes + 1);
    if (data.size() > maximumBytes)
        return {{}, tooLarge(maximumBytes)};
    return {std::move(data), {}};
}

// Some files look regular and still wait for data that may never come
// (/proc/kmsg, a kernel trace pipe). The file is opened without blocking, so
// that such a read fails at once instead of hanging, and checked again once
// open, since the path may have been replaced by a FIFO meanwhile.
InputFileContents readRegularFile(const QString& path, qint64 maximumBytes)
{
    const OpenFile file{::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    const int fd = file.descriptor;
    if (fd < 0)
        return {{}, systemError(errno)};
    struct stat status { };
    if (::fstat(fd, &status) != 0)
        return {{}, systemError(errno)};
    if (!S_ISREG(status.st_mode))
        return {{}, notRegular()};
    QByteArray data;
    // The file may have grown since it was looked at: read one byte past the limit.
    while (data.size() <= maximumBytes) {
        char buffer[64 * 1024];
        const qint64 wanted = std::min<qint64>(sizeof buffer, maximumBytes + 1 - data.size());
        const ssize_t count = ::read(fd, buffer, static_cast<size_t>(wanted));
        if (count == 0)
            return {std::move(data), {}};
        if (count > 0) {
            data.append(buffer, count);
            continue;
        }
        if (errno == EINTR)
            continue;
        if (errno == EAGAIN || errno == EWOULDBLOCK)
            return {{}, QStringLiteral("reading would block: the file waits for data instead of ending")};
        return {{}, systemError(errno)};
    }
    return {{}, tooLarge(maximumBytes)};
}

} // namespace

QString fileNameOf(const QIODevice& device)
{
    const auto* file = qobject_cast<const QFileDevice*>(&device);
    return file ? file->fileName() : QString();
}

InputFileContents readInputFile(const QString& path, qint64 maximumBytes)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {{}, QStringLiteral("no such file")};
    if (path.startsWith(QLatin1Char(':')))
        return readResource(path, maximumBytes);
    // Anything else must be a regular file (a link to one is fine), never a
    // device, FIFO or folder.
    if (!info.isFile())
        return {{}, notRegular()};
    if (info.size() > maximumBytes)
        return {{}, tooLarge(maximumBytes)};
    return readRegularFile(path, maximumBytes);
}

std::optional<QString> writeAllTo(QIODevice& device, const QByteArray& data)
{
    if (auto fault = injectedFault(fileNameOf(device)))
        return fault;
    if (device.write(data) != data.size())
        return device.errorString().isEmpty() ? QStringLiteral("not every byte was written") : device.errorString();
    return std::nullopt;
}

std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    if (auto error = writeAllTo(file, data)) {
        file.cancelWriting();
        return QStringLiteral("cannot write %1: %2").arg(path, *error);
    }
    if (!file.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    return std::nullopt;
}

void setFileWriteFaultInjector(FileWriteFaultInjector injector)
{
    std::lock_guard lock(gFaultMutex);
    gFaultInjector = std::move(injector);
}

} // namespace vesk
