#include "platform/x11/XdgEnvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>

namespace vesk::platform {

namespace {

QStringList absoluteFolders(const QString& list)
{
    QStringList folders;
    for (const QString& folder : list.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (QDir::isAbsolutePath(folder))
            folders.append(QDir::cleanPath(folder));
    }
    return folders;
}

bool isExecutableFile(const QString& path)
{
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

QStringList XdgEnvironment::dataFolders() const
{
    QStringList folders;
    if (!dataHome.isEmpty())
        folders.append(dataHome);
    folders.append(dataDirs);
    return folders;
}

QString XdgEnvironment::findProgram(const QString& program) const
{
    if (program.isEmpty())
        return {};
    if (program.contains(QLatin1Char('/')))
        return QDir::isAbsolutePath(program) && isExecutableFile(program) ? program : QString();
    for (const QString& folder : executableSearchPath) {
        const QString candidate = QDir(folder).filePath(program);
        if (isExecutableFile(candidate))
            return candidate;
    }
    return {};
}

QString XdgEnvironment::findExecutable(const QString& program) const
{
    const QString found = findProgram(program);
    return found.isEmpty() ? QString() : QFileInfo(found).canonicalFilePath();
}

XdgEnvironment XdgEnvironment::fromVariables(const QProcessEnvironment& variables)
{
    XdgEnvironment environment;
    environment.home = variables.value(QStringLiteral("HOME"));
    const QString dataHome = variables.value(QStringLiteral("XDG_DATA_HOME"));
    if (QDir::isAbsolutePath(dataHome))
        environment.dataHome = QDir::cleanPath(dataHome);
    else if (QDir::isAbsolutePath(environment.home))
        environment.dataHome = QDir(environment.home).filePath(QStringLiteral(".local/share"));
    environment.dataDirs = absoluteFolders(variables.value(QStringLiteral("XDG_DATA_DIRS")));
    if (environment.dataDirs.isEmpty())
        environment.dataDirs = {QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    environment.currentDesktops =
        variables.value(QStringLiteral("XDG_CURRENT_DESKTOP")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    environment.executableSearchPath = absoluteFolders(variables.value(QStringLiteral("PATH")));
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString value = variables.value(QString::fromLatin1(name));
        if (!value.isEmpty()) {
            environment.locale = XdgLocale::parse(value);
            break;
        }
    }
    return environment;
}

XdgEnvironment XdgEnvironment::fromProcess()
{
    XdgEnvironment environment = fromVariables(QProcessEnvironment::systemEnvironment());
    if (qGuiApp)
        environment.iconTheme = QIcon::themeName();
    return environment;
}

} // namespace vesk::platform
