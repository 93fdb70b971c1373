#include "app/RuntimeDirectory.h"

#include <QDir>
#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace vesk {

namespace {

const char* const runtimeVariable = "XDG_RUNTIME_DIR";

} // namespace

std::optional<QString> provideRuntimeDirectory()
{
    if (!qEnvironmentVariableIsEmpty(runtimeVariable))
        return std::nullopt;
    const QString path = QDir(QDir::tempPath()).filePath(QStringLiteral("runtime-%1").arg(::getuid()));
    QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Another account may have made a folder of that name first.
    struct stat status { };
    const QByteArray nativePath = QFile::encodeName(path);
    if (::lstat(nativePath.constData(), &status) != 0 || !S_ISDIR(status.st_mode))
        return QStringLiteral("%1 is not a folder").arg(path);
    if (status.st_uid != ::getuid() || (status.st_mode & 077) != 0)
        return QStringLiteral("%1 is not private to this user").arg(path);
    qputenv(runtimeVariable, nativePath);
    return std::nullopt;
}

} // namespace vesk
