#include "analytics/client/LiveSystemFacts.h"

#include "platform/DefaultsDomainsProviding.h"
#include "platform/ScreenProviding.h"
#include "platform/SystemInfoProviding.h"

#include <QGuiApplication>
#include <QLocale>
#include <QSysInfo>
#include <QVersionNumber>

#include <sys/utsname.h>

namespace vesk::telemetry {

namespace {

std::optional<QString> textEntry(const QVariantMap& map, const QString& key)
{
    const QVariant value = map.value(key);
    if (value.typeId() != QMetaType::QString)
        return std::nullopt;
    return value.toString();
}

QString unameMachine()
{
    utsname name{};
    if (uname(&name) != 0)
        return {};
    return QString::fromUtf8(name.machine);
}

} // namespace

LiveSystemFacts::LiveSystemFacts(const platform::SystemInfoProviding& systemInfo,
                                 const platform::ScreenProviding& screens,
                                 const platform::DefaultsDomainsProviding& defaultsDomains, QVariantMap mainBundleInfo)
    : systemInfo_(systemInfo)
    , screens_(screens)
    , defaultsDomains_(defaultsDomains)
    , mainBundleInfo_(std::move(mainBundleInfo))
{
}

QTimeZone LiveSystemFacts::timeZone() const
{
    return QTimeZone::systemTimeZone();
}

SystemFacts LiveSystemFacts::currentFacts() const
{
    SystemFacts facts;
    const QVersionNumber version = QVersionNumber::fromString(QSysInfo::productVersion());
    facts.systemMajorVersion = version.majorVersion();
    facts.systemMinorVersion = version.minorVersion();
    facts.systemPatchVersion = version.microVersion();
    facts.appVersion = textEntry(mainBundleInfo_, QStringLiteral("CFBundleShortVersionString"));
    facts.buildNumber = textEntry(mainBundleInfo_, QStringLiteral("CFBundleVersion"));
    facts.extensionPointIdentifier = textEntry(mainBundleInfo_.value(QStringLiteral("NSExtension")).toMap(),
                                               QStringLiteral("NSExtensionPointIdentifier"));
    facts.modelName = systemInfo_.hardwareModel();
    if (facts.modelName.isEmpty())
        facts.modelName = unameMachine();
    facts.architecture = QSysInfo::currentCpuArchitecture();

    const QLocale locale = QLocale::system();
    facts.localeIdentifier = locale.name();
    if (locale.territory() != QLocale::AnyTerritory)
        facts.regionCode = QLocale::territoryToCode(locale.territory());
    if (locale.language() != QLocale::AnyLanguage && locale.language() != QLocale::C)
        facts.languageCode = QLocale::languageToCode(locale.language());
    facts.preferredLanguages = locale.uiLanguages();
    facts.timeZone = timeZone();

    facts.darkAppearance = systemInfo_.isDarkAppearance();
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        facts.layoutDirection = QGuiApplication::layoutDirection() == Qt::RightToLeft
                                    ? SystemFacts::LayoutDirection::rightToLeft
                                    : SystemFacts::LayoutDirection::leftToRight;
    }
    if (const std::optional<platform::ScreenInfo> screen = screens_.mainScreen())
        facts.mainScreen = SystemFacts::Screen{screen->frame.width(), screen->frame.height(), screen->scale};
    const QString universalAccess = QStringLiteral("com.apple.universalaccess");
    if (defaultsDomains_.domainNames().contains(universalAccess))
        facts.universalAccess = defaultsDomains_.domain(universalAccess);
    return facts;
}

} // namespace vesk::telemetry
