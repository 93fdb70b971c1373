#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

class QIODevice;

namespace vesk {

// Files the application reads as input (scenarios, scripts, settings) are
// small: anything larger is a mistake or an attack, and reading it would
// exhaust memory before parsing could refuse it.
inline constexpr qint64 maximumInputFileBytes = 16 * 1024 * 1024;

struct InputFileContents {
    QByteArray data;
    // Why the file could not be read ("not a regular file"); empty on success.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// Reads a regular file (or a compiled-in resource) of at most `maximumBytes`.
// Devices, FIFOs and folders are refused without being opened, and a file
// that looks regular but has no data yet (/proc/kmsg) fails with "reading
// would block", so reading never blocks or grows without bound.
InputFileContents readInputFile(const QString& path, qint64 maximumBytes = maximumInputFileBytes);

// Writes `data` to `path` whole or not at all: into a temporary file in the
// same folder that replaces the old file only once every byte is written and
// flushed. Returns the reason when it fails; the old file is then unchanged.
std::optional<QString> writeFileAtomically(const QString& path, const QByteArray& data);

// The name of the file a device reads or writes; empty for other devices.
QString fileNameOf(const QIODevice& device);

// Writes all of `data` to an open file; returns the reason when it took less.
std::optional<QString> writeAllTo(QIODevice& device, const QByteArray& data);

// Makes the two writes above fail as a full disk would: the injector gets the
// path of each write and returns the error to fail it with, or nothing to let
// it through. Tests only; an empty injector removes it.
using FileWriteFaultInjector = std::function<std::optional<QString>(const QString& path)>;
void setFileWriteFaultInjector(FileWriteFaultInjector injector);

} // namespace vesk
