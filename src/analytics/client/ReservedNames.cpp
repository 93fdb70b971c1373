#include "analytics/client/ReservedNames.h"

#include <QSet>
#include <QStringList>

namespace vesk::telemetry {

namespace {

const QSet<QString>& reservedNames()
{
    static const QSet<QString> names = [] {
        const QStringList list{"type",
                               "clientUser",
                               "appID",
                               "sessionID",
                               "floatValue",
                               "newSessionBegan",
                               "platform",
                               "systemVersion",
                               "majorSystemVersion",
                               "majorMinorSystemVersion",
                               "appVersion",
                               "buildNumber",
                               "isSimulator",
                               "isDebug",
                               "isTestFlight",
                               "isAppStore",
                               "modelName",
                               "architecture",
                               "operatingSystem",
                               "targetEnvironment",
                               "locale",
                               "region",
                               "appLanguage",
                               "preferredLanguage",
                               "telemetryClientVersion"};
        QSet<QString> lowered;
        for (const QString& name : list)
            lowered.insert(name.toLower());
        return lowered;
    }();
    return names;
}

} // namespace

bool ReservedNames::isReservedName(const QString& name)
{
    return reservedNames().contains(name.toLower());
}

bool ReservedNames::hasReservedPrefix(const QString& name)
{
    return name.toLower().startsWith(QLatin1String("telemetry."));
}

QString ReservedNames::signalNameWarning(const QString& signalName)
{
    if (hasReservedPrefix(signalName))
        return QStringLiteral("Sending signal with reserved prefix 'Telemetry.' will cause unexpected behavior. "
                              "Please use another prefix instead.");
    if (isReservedName(signalName))
        return QStringLiteral("Sending signal with reserved name '%1' will cause unexpected behavior. "
                              "Please use another name instead.")
            .arg(signalName);
    return QString();
}

QString ReservedNames::parameterKeyWarning(const QString& key)
{
    if (hasReservedPrefix(key))
        return QStringLiteral("Sending parameter with reserved key prefix 'Telemetry.' will cause unexpected "
                              "behavior. Please use another prefix instead.");
    if (isReservedName(key))
        return QStringLiteral("Sending parameter with reserved key '%1' will cause unexpected behavior. "
                              "Please use another key instead.")
            .arg(key);
    return QString();
}

} // namespace vesk::telemetry
