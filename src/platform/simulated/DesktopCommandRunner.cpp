#include "platform/simulated/DesktopCommandRunner.h"

#include "platform/simulated/DefaultsDomains.h"
#include "platform/simulated/SimulatedDesktop.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QThread>

#include <cmath>

namespace vesk::platform {

namespace {

CommandResult failure(const QString& message)
{
    return CommandResult{1, QString(), message + QLatin1Char('\n')};
}

QString printed(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("1") : QStringLiteral("0");
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}

std::optional<bool> parseBool(const QString& text)
{
    const QString lowered = text.toLower();
    if (lowered == QLatin1String("true") || lowered == QLatin1String("yes") || lowered == QLatin1String("1"))
        return true;
    if (lowered == QLatin1String("false") || lowered == QLatin1String("no") || lowered == QLatin1String("0"))
        return false;
    return std::nullopt;
}

// What "defaults" prints before its message: a blank line, then the time and its process.
QString defaultsPreamble()
{
    return QStringLiteral("\n%1 defaults[%2:%3] \n")
        .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")))
        .arg(QCoreApplication::applicationPid())
        .arg(reinterpret_cast<quintptr>(QThread::currentThreadId()) & 0xFFFFF);
}

CommandResult missingPair(const QString& domain, const QString& key)
{
    return CommandResult{1, QString(),
                         defaultsPreamble()
                             + QStringLiteral("The domain/default pair of (%1, %2) does not exist\n").arg(domain, key)};
}

} // namespace

DesktopCommandRunner::DesktopCommandRunner(SimulatedDesktop& desktop) : desktop_(desktop)
{
}

CommandResult DesktopCommandRunner::run(const QString& executable, const QStringList& arguments)
{
    const QStringList commandLine = QStringList{executable} + arguments;
    history_.push_back(commandLine);
    if (observer_)
        observer_(commandLine, false);
    const CommandResult result = runTool(executable, arguments);
    if (observer_)
        observer_(commandLine, true);
    return result;
}

CommandResult DesktopCommandRunner::runTool(const QString& executable, const QStringList& arguments)
{
    if (launchFailure_)
        return CommandResult{1, QString(), *launchFailure_};
    if (desktop_.isOwnProcessCrashed())
        return CommandResult{1, QString(), QStringLiteral("The process that started the tool has ended")};
    if (executable == defaultsPath)
        return runDefaults(arguments);
    if (executable == killallPath)
        return runKillall(arguments);
    return failure(QStringLiteral("The file \"%1\" couldn't be opened because there is no such file.")
                       .arg(executable.section(QLatin1Char('/'), -1)));
}

CommandResult DesktopCommandRunner::runDefaults(const QStringList& arguments)
{
    DefaultsDomains& defaults = desktop_.defaults();
    const QString verb = arguments.value(0);
    const QString domain = arguments.value(1);
    const QString key = arguments.value(2);
    if (domain.isEmpty())
        return failure(QStringLiteral("Command line interface to a user's defaults."));

    if (verb == QLatin1String("read")) {
        if (key.isEmpty()) {
            if (defaults.domain(domain).isEmpty())
                return failure(QStringLiteral("Domain %1 does not exist").arg(domain));
            QString text = QStringLiteral("{\n");
            const QVariantMap values = defaults.domain(domain);
            for (auto it = values.begin(); it != values.end(); ++it)
                text += QStringLiteral("    \"%1\" = %2;\n").arg(it.key(), printed(it.value()));
            return CommandResult{0, text + QStringLiteral("}\n"), QString()};
        }
        const auto value = defaults.value(domain, key);
        if (!value)
            return missingPair(domain, key);
        return CommandResult{0, printed(*value) + QLatin1Char('\n'), QString()};
    }

    if (verb == QLatin1String("delete")) {
        if (key.isEmpty()) {
            if (!defaults.removeDomain(domain))
                return failure(QStringLiteral("Domain (%1) not found.").arg(domain));
            return CommandResult{};
        }
        if (!defaults.remove(domain, key))
            return missingPair(domain, key);
        return CommandResult{};
    }

    if (verb == QLatin1String("write")) {
        if (key.isEmpty() || arguments.size() < 4)
            return failure(QStringLiteral("Not enough arguments were supplied"));
        const QString type = arguments.value(3);
        const bool typed = type.startsWith(QLatin1Char('-'));
        if (typed && arguments.size() < 5)
            return failure(QStringLiteral("Not enough arguments were supplied"));
        const QString text = typed ? arguments.value(4) : type;
        QVariant value;
        if (!typed || type == QLatin1String("-string")) {
            value = text;
        } else if (type == QLatin1String("-bool") || type == QLatin1String("-boolean")) {
            const auto parsed = parseBool(text);
            if (!parsed)
                return failure(QStringLiteral("Value %1 is not a boolean").arg(text));
            value = *parsed;
        } else if (type == QLatin1String("-int") || type == QLatin1String("-integer")) {
            bool ok = false;
            const qlonglong number = text.toLongLong(&ok);
            if (!ok)
                return failure(QStringLiteral("Value %1 is not an integer").arg(text));
            value = number;
        } else if (type == QLatin1String("-float")) {
            bool ok = false;
            const double number = text.toDouble(&ok);
            if (!ok || !std::isfinite(number))
                return failure(QStringLiteral("Value %1 is not a float").arg(text));
            value = number;
        } else {
            return failure(QStringLiteral("Unexpected argument %1; leaving defaults unchanged.").arg(type));
        }
        defaults.setValue(domain, key, value);
        return CommandResult{};
    }

    return failure(QStringLiteral("Unexpected argument %1; leaving defaults unchanged.").arg(verb));
}

CommandResult DesktopCommandRunner::runKillall(const QStringList& arguments)
{
    if (arguments != QStringList{QStringLiteral("Dock")})
        return failure(QStringLiteral("No matching processes belonging to you were found"));
    if (!desktop_.restartDock())
        return failure(QStringLiteral("No matching processes belonging to you were found"));
    return CommandResult{};
}

} // namespace vesk::platform
