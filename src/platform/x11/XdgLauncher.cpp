#include "platform/x11/XdgLauncher.h"

#include "platform/x11/XdgExecLine.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace vesk::platform {

namespace {

QString failure(const XdgApplication& application, const QString& reason)
{
    const QString name = application.entry.name.isEmpty() ? application.id : application.entry.name;
    return QStringLiteral("The application \"%1\" could not be launched: %2.").arg(name, reason);
}

bool isFolder(const QString& path)
{
    return QDir::isAbsolutePath(path) && QFileInfo(path).isDir();
}

} // namespace

XdgLauncher::XdgLauncher(XdgEnvironment environment, QStringList terminal)
    : environment_(std::move(environment))
    , terminal_(std::move(terminal))
{
}

std::optional<QString> XdgLauncher::resolveProgram(QStringList& command) const
{
    const QString program = environment_.findProgram(command.front());
    if (program.isEmpty())
        return QStringLiteral("the program \"%1\" was not found").arg(command.front());
    command.front() = program;
    return std::nullopt;
}

XdgLaunchResult XdgLauncher::launch(const XdgApplication& application, const QList<QUrl>& documents,
                                    const QStringList& arguments) const
{
    const XdgDesktopEntry& entry = application.entry;
    if (entry.exec.isEmpty())
        return {{}, failure(application, QStringLiteral("it has no command line"))};
    const auto line = XdgExecLine::parse(entry.exec);
    if (!line)
        return {{}, failure(application, QStringLiteral("its command line cannot be read"))};
    auto expanded = line->commands(XdgExecContext{documents, entry.icon, entry.name, application.filePath});
    if (const auto* invalid = std::get_if<QString>(&expanded))
        return {{}, failure(application, QStringLiteral("its command line is invalid (%1)").arg(*invalid))};

    std::vector<QStringList> commands = std::get<std::vector<QStringList>>(expanded);
    for (QStringList& command : commands) {
        const qsizetype program = XdgExecLine::programIndex(command);
        if (program >= command.size())
            return {{}, failure(application, QStringLiteral("its command line names no program"))};
        for (qsizetype i = 0; i < arguments.size(); ++i)
            command.insert(program + 1 + i, arguments[i]);
        if (entry.terminal)
            command = terminal_ + command;
        if (auto missing = resolveProgram(command))
            return {{}, failure(application, *missing)};
    }

    const QString folder = isFolder(entry.path) ? entry.path : environment_.home;
    XdgLaunchResult result;
    for (const QStringList& command : commands) {
        QProcess process;
        process.setProgram(command.front());
        process.setArguments(command.mid(1));
        if (isFolder(folder))
            process.setWorkingDirectory(folder);
        qint64 pid = 0;
        if (!process.startDetached(&pid)) {
            result.error = failure(application, process.errorString());
            return result;
        }
        result.processIDs.push_back(pid);
    }
    return result;
}

} // namespace vesk::platform
