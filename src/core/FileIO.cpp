#include "core/FileIO.h"

#include <QFile>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>

#include <mutex>

namespace vesk {

namespace {

std::mutex gFaultMutex;
FileWriteFaultInjector gFaultInjector;

std::optional<QString> injectedFault(const QString& path)
{
    std::lock_guard lock(gFaultMutex);
    return gFaultInjector ? gFaultInjector(path) : std::nullopt;
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
    // A resource is compiled in; anything else must be a regular file (a link
    // to one is fine), never a device, FIFO or folder.
    if (!path.startsWith(QLatin1Char(':')) && !info.isFile())
        return {{}, QStringLiteral("not a regular file")};
    const QString tooLarge = QStringLiteral("larger than %1 bytes").arg(maximumBytes);
    if (info.size() > maximumBytes)
        return {{}, tooLarge};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    // The file may have grown since it was looked at.
    QByteArray data = file.read(maximumBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (data.size() > maximumBytes)
        return {{}, tooLarge};
    return {std::move(data), {}};
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
