#include "analytics/client/DefaultSignalPayload.h"

#include "core/TextFormat.h"

#include <QRegularExpression>

#include <cstdlib>

namespace vesk::telemetry {

namespace {

// The part before the first "-" or "_", or the whole text without one.
QString partBeforeSeparator(const QString& identifier)
{
    const qsizetype separator = identifier.indexOf(QRegularExpression(QStringLiteral("[-_]")));
    return separator < 0 ? identifier : identifier.left(separator);
}

// The part after the first "-" or "_"; empty without one.
QString partAfterSeparator(const QString& identifier)
{
    const qsizetype separator = identifier.indexOf(QRegularExpression(QStringLiteral("[-_]")));
    return separator < 0 ? QString() : identifier.mid(separator + 1);
}

QString region(const SystemFacts& facts)
{
    return facts.regionCode.isEmpty() ? partAfterSeparator(facts.localeIdentifier) : facts.regionCode;
}

QString languageCode(const SystemFacts& facts)
{
    return facts.languageCode.isEmpty() ? partBeforeSeparator(facts.localeIdentifier) : facts.languageCode;
}

QString preferredLanguage(const SystemFacts& facts)
{
    return partBeforeSeparator(facts.preferredLanguages.isEmpty() ? QStringLiteral("zz-ZZ")
                                                                  : facts.preferredLanguages.first());
}

QString layoutDirectionText(const std::optional<SystemFacts::LayoutDirection>& direction)
{
    if (!direction)
        return QStringLiteral("N/A");
    return *direction == SystemFacts::LayoutDirection::rightToLeft ? QStringLiteral("rightToLeft")
                                                                   : QStringLiteral("leftToRight");
}

void insertTwice(SignalParameters& entries, const char* shortKey, const char* longKey, const QString& value)
{
    entries[QString::fromLatin1(shortKey)] = value;
    entries[QString::fromLatin1(longKey)] = value;
}

SignalParameters accessibilityEntries(const QVariantMap& universalAccess)
{
    auto isTrue = [&](const char* key) {
        const QVariant value = universalAccess.value(QString::fromLatin1(key));
        return boolText(value.typeId() == QMetaType::Bool && value.toBool());
    };
    return {{"Telemetry.Accessibility.isReduceMotionEnabled", isTrue("reduceMotion")},
            {"Telemetry.Accessibility.isInvertColorsEnabled", isTrue("InvertColors")}};
}

} // namespace

SignalParameters DefaultSignalPayload::parameters(const SystemFacts& facts, const QDateTime& now,
                                                  const SignalParameters& sessionStatistics)
{
    SignalParameters payload = fixedEntries(facts, now);
    if (facts.universalAccess)
        mergeParameters(payload, accessibilityEntries(*facts.universalAccess));
    mergeParameters(payload, calendarEntries(now.toTimeZone(facts.timeZone)));
    if (facts.extensionPointIdentifier) {
        mergeParameters(payload, {{"extensionIdentifier", *facts.extensionPointIdentifier},
                                  {"Telemetry.RunContext.extensionIdentifier", *facts.extensionPointIdentifier}});
    }
    mergeParameters(payload, sessionStatistics);
    return payload;
}

SignalParameters DefaultSignalPayload::fixedEntries(const SystemFacts& facts, const QDateTime& now)
{
    const QString major = QString::number(facts.systemMajorVersion);
    const QString majorMinor = major + QLatin1Char('.') + QString::number(facts.systemMinorVersion);
    const QString full = majorMinor + QLatin1Char('.') + QString::number(facts.systemPatchVersion);
    const QString appVersion = facts.appVersion.value_or(QStringLiteral("0"));
    const QString buildNumber = facts.buildNumber.value_or(QStringLiteral("0"));
    const bool testFlight = isTestFlight(facts.storeReceiptPath);
    auto screenValue = [&](double SystemFacts::Screen::*field) {
        return facts.mainScreen ? doubleText((*facts.mainScreen).*field) : QStringLiteral("N/A");
    };

    SignalParameters entries;
    insertTwice(entries, "platform", "Telemetry.Device.platform", platformName);
    insertTwice(entries, "operatingSystem", "Telemetry.Device.operatingSystem", platformName);
    insertTwice(entries, "systemVersion", "Telemetry.Device.systemVersion", platformName + QLatin1Char(' ') + full);
    insertTwice(entries, "majorSystemVersion", "Telemetry.Device.systemMajorVersion",
                platformName + QLatin1Char(' ') + major);
    insertTwice(entries, "majorMinorSystemVersion", "Telemetry.Device.systemMajorMinorVersion",
                platformName + QLatin1Char(' ') + majorMinor);
    insertTwice(entries, "appVersion", "Telemetry.AppInfo.version", appVersion);
    insertTwice(entries, "buildNumber", "Telemetry.AppInfo.buildNumber", buildNumber);
    entries["Telemetry.AppInfo.versionAndBuildNumber"] = appVersion + QStringLiteral(" (build ") + buildNumber + ')';
    insertTwice(entries, "isSimulator", "Telemetry.RunContext.isSimulator", boolText(false));
    insertTwice(entries, "isDebug", "Telemetry.RunContext.isDebug", boolText(false));
    insertTwice(entries, "isTestFlight", "Telemetry.RunContext.isTestFlight", boolText(testFlight));
    insertTwice(entries, "isAppStore", "Telemetry.RunContext.isAppStore", boolText(!testFlight));
    insertTwice(entries, "modelName", "Telemetry.Device.modelName", facts.modelName);
    insertTwice(entries, "architecture", "Telemetry.Device.architecture", facts.architecture);
    insertTwice(entries, "targetEnvironment", "Telemetry.RunContext.targetEnvironment", QStringLiteral("native"));
    insertTwice(entries, "locale", "Telemetry.RunContext.locale", facts.localeIdentifier);
    insertTwice(entries, "region", "Telemetry.UserPreference.region", region(facts));
    insertTwice(entries, "appLanguage", "Telemetry.RunContext.language", languageCode(facts));
    insertTwice(entries, "preferredLanguage", "Telemetry.UserPreference.language", preferredLanguage(facts));
    insertTwice(entries, "telemetryClientVersion", "Telemetry.SDK.version", clientVersion);
    entries["Telemetry.SDK.name"] = clientName;
    entries["Telemetry.SDK.nameAndVersion"] = clientName + QLatin1Char(' ') + clientVersion;
    entries["Telemetry.Device.orientation"] = QStringLiteral("Fixed");
    entries["Telemetry.Device.screenResolutionHeight"] = screenValue(&SystemFacts::Screen::height);
    entries["Telemetry.Device.screenResolutionWidth"] = screenValue(&SystemFacts::Screen::width);
    entries["Telemetry.Device.screenScaleFactor"] = screenValue(&SystemFacts::Screen::scale);
    entries["Telemetry.Device.timeZone"] = timeZoneText(facts.timeZone.offsetFromUtc(now));
    entries["Telemetry.UserPreference.colorScheme"] =
        facts.darkAppearance ? QStringLiteral("Dark") : QStringLiteral("Light");
    entries["Telemetry.UserPreference.layoutDirection"] = layoutDirectionText(facts.layoutDirection);
    return entries;
}

QString DefaultSignalPayload::timeZoneText(int offsetFromUtcSeconds)
{
    QString text = QStringLiteral("UTC") + (offsetFromUtcSeconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                   + QString::number(std::abs(offsetFromUtcSeconds / 3600));
    const int minutes = std::abs(offsetFromUtcSeconds / 60) % 60;
    if (minutes != 0)
        text += QStringLiteral(":%1").arg(minutes, 2, 10, QLatin1Char('0'));
    return text;
}

bool DefaultSignalPayload::isTestFlight(const std::optional<QString>& storeReceiptPath)
{
    // A receipt named "sandboxReceipt", or one anywhere below such a name.
    return storeReceiptPath && storeReceiptPath->contains(QLatin1String("sandboxReceipt"));
}

SignalParameters DefaultSignalPayload::calendarEntries(const QDateTime& localNow)
{
    const QDate date = localNow.date();
    const bool valid = localNow.isValid();
    auto number = [valid](int value) { return QString::number(valid ? value : -1); };
    return {
        {"Telemetry.Calendar.dayOfMonth", number(date.day())},
        {"Telemetry.Calendar.dayOfWeek", number(date.dayOfWeek())},
        {"Telemetry.Calendar.dayOfYear", number(date.dayOfYear())},
        {"Telemetry.Calendar.weekOfYear", number(date.weekNumber())},
        {"Telemetry.Calendar.isWeekend", valid ? boolText(date.dayOfWeek() >= 6) : QStringLiteral("-1")},
        {"Telemetry.Calendar.monthOfYear", number(date.month())},
        {"Telemetry.Calendar.quarterOfYear", number((date.month() - 1) / 3 + 1)},
        {"Telemetry.Calendar.hourOfDay", number(localNow.time().hour())},
    };
}

} // namespace vesk::telemetry
