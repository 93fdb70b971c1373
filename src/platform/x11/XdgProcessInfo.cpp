#include "platform/x11/XdgProcessInfo.h"

#include "core/FileIO.h"

#include <QDir>
#include <QFileInfo>

namespace vesk::platform {

XdgProcessInfo XdgProcessInfo::read(qint64 pid, const QString& procRoot)
{
    if (pid <= 0)
        return {};
    const QDir process(QDir(procRoot).filePath(QString::number(pid)));
    XdgProcessInfo info;
    info.executablePath = QFileInfo(process.filePath(QStringLiteral("exe"))).symLinkTarget();
    const QString deleted = QStringLiteral(" (deleted)");
    if (info.executablePath.endsWith(deleted))
        info.executablePath.chop(deleted.size());
    const InputFileContents cmdline =
        readInputFile(process.filePath(QStringLiteral("cmdline")), maximumCommandLineBytes);
    if (cmdline.ok()) {
        QByteArray data = cmdline.data;
        if (data.endsWith('\0'))
            data.chop(1);
        for (const QByteArray& argument : data.split('\0'))
            info.commandLine.append(QString::fromLocal8Bit(argument));
        if (data.isEmpty())
            info.commandLine.clear();
    }
    return info;
}

} // namespace vesk::platform
