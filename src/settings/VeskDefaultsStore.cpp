#include "settings/VeskDefaultsStore.h"

#include "core/TextFormat.h"

#include <QLocale>

#include <cmath>

namespace vesk {

namespace {

namespace key {
const QString defaultDurationSeconds = QStringLiteral("vesk.defaultDurationSeconds");
const QString defaultHardcoreOn = QStringLiteral("vesk.defaultHardcoreOn");
const QString language = QStringLiteral("vesk.language");
const QString soundDefaultMigratedV1 = QStringLiteral("vesk.soundDefaultMigratedV1");
const QString soundEnabled = QStringLiteral("vesk.soundEnabled");
const QString reducedMotion = QStringLiteral("vesk.reducedMotion");
const QString wormveskStyle = QStringLiteral("vesk.wormveskStyle");
const QString stageVeskAgingMinutes = QStringLiteral("vesk.stageVeskAgingMinutes");
const QString screenFunctionOverrides = QStringLiteral("vesk.screenFunctionOverrides");
const QString analyticsEnabled = QStringLiteral("vesk.analyticsEnabled");
const QString analyticsNoticeShown = QStringLiteral("vesk.analyticsNoticeShown");
const QString autoCheckForUpdates = QStringLiteral("vesk.autoCheckForUpdates");
const QString autoInstallUpdates = QStringLiteral("vesk.autoInstallUpdates");
} // namespace key

// Stores the value; true when it differs from the one held (observers are
// then to be notified).
template <typename T>
bool assign(T& held, const T& value)
{
    if (held == value)
        return false;
    held = value;
    return true;
}

// The stored whole number; none when absent or of another type. A boolean
// or a text is no duration, however it would convert.
std::optional<qint64> storedInteger(const UserDefaults& defaults, const QString& name)
{
    const std::optional<QVariant> value = defaults.object(name);
    if (!value)
        return std::nullopt;
    switch (value->typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return value->toLongLong();
    case QMetaType::Double: {
        const double number = value->toDouble();
        const bool whole = std::isfinite(number) && std::floor(number) == number && std::abs(number) < 1e15;
        return whole ? std::optional<qint64>(static_cast<qint64>(number)) : std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

bool boolDefaultingToTrue(const UserDefaults& defaults, const QString& name)
{
    return defaults.objectExists(name) ? defaults.boolForKey(name) : true;
}

bool isOnByDefault(VeskScreenFunction function, bool isMainDisplay)
{
    return isMainDisplay || function == VeskScreenFunction::appsBar;
}

} // namespace

QStringList VeskDefaultsStore::systemPreferredLanguages()
{
    return QLocale::system().uiLanguages();
}

VeskDefaultsStore::VeskDefaultsStore(UserDefaults& defaults, PreferredLanguagesProvider preferredLanguages,
                                     QObject* parent)
    : QObject(parent)
    , defaults_(defaults)
    , preferredLanguages_(std::move(preferredLanguages))
{
    readSettings();
}

void VeskDefaultsStore::readSettings()
{
    // "Unbegrenzt" (0) is a valid default duration and must survive a relaunch;
    // only a missing, unreadable or negative value falls back.
    const std::optional<qint64> duration = storedInteger(defaults_, key::defaultDurationSeconds);
    defaultDurationSeconds_ = duration && *duration >= 0 ? *duration : fallbackDurationSeconds;
    defaultHardcoreOn_ = defaults_.boolForKey(key::defaultHardcoreOn);
    language_ =
        fromRaw<VeskLanguage>(defaults_.stringForKey(key::language).value_or(QString())).value_or(VeskLanguage::system);
    migrateSoundDefault();
    reducedMotion_ = defaults_.boolForKey(key::reducedMotion);
    wormveskStyle_ = fromRaw<WormveskStylePreference>(defaults_.stringForKey(key::wormveskStyle).value_or(QString()))
                         .value_or(WormveskStylePreference::system);
    const std::optional<qint64> aging = storedInteger(defaults_, key::stageVeskAgingMinutes);
    stageVeskAgingMinutes_ = aging && *aging >= 1 ? *aging : fallbackStageVeskAgingMinutes;
    const std::optional<QStringList> overrides = defaults_.stringArrayForKey(key::screenFunctionOverrides);
    screenFunctionOverrides_ =
        overrides ? std::set<QString>(overrides->begin(), overrides->end()) : std::set<QString>();
    readAnalyticsEnabled();
    analyticsNoticeShown_ = defaults_.boolForKey(key::analyticsNoticeShown);
    autoCheckForUpdates_ = boolDefaultingToTrue(defaults_, key::autoCheckForUpdates);
    autoInstallUpdates_ = defaults_.boolForKey(key::autoInstallUpdates);
}

// Analytics are on unless the user switched them off. Settings that could
// not be read may have held that choice: then they stay off, and that is
// stored, until the user switches them on again.
void VeskDefaultsStore::readAnalyticsEnabled()
{
    if (defaults_.objectExists(key::analyticsEnabled) || !defaults_.readFailure()) {
        analyticsEnabled_ = boolDefaultingToTrue(defaults_, key::analyticsEnabled);
        return;
    }
    analyticsEnabled_ = false;
    defaults_.setBool(key::analyticsEnabled, false);
    logger_.log(VeskLogLevel::warning,
                QStringLiteral("Settings could not be read; analytics stay off until switched on — reason=")
                    + *defaults_.readFailure());
}

// Sound starts off once for everyone; after that the user's choice is kept.
void VeskDefaultsStore::migrateSoundDefault()
{
    if (defaults_.boolForKey(key::soundDefaultMigratedV1)) {
        soundEnabled_ = defaults_.objectExists(key::soundEnabled) && defaults_.boolForKey(key::soundEnabled);
        return;
    }
    defaults_.setBool(key::soundEnabled, false);
    defaults_.setBool(key::soundDefaultMigratedV1, true);
    soundEnabled_ = false;
}

void VeskDefaultsStore::setDefaultDurationSeconds(qint64 seconds)
{
    if (assign(defaultDurationSeconds_, seconds))
        emit defaultDurationSecondsChanged();
    defaults_.setInteger(key::defaultDurationSeconds, seconds);
}

void VeskDefaultsStore::setDefaultHardcoreOn(bool on)
{
    if (assign(defaultHardcoreOn_, on))
        emit defaultHardcoreOnChanged();
    defaults_.setBool(key::defaultHardcoreOn, on);
}

QLocale VeskDefaultsStore::interfaceLocale() const
{
    return resolvedLocale(language_, preferredLanguages_());
}

void VeskDefaultsStore::setLanguage(VeskLanguage language)
{
    if (assign(language_, language))
        emit languageChanged();
    defaults_.setString(key::language, toRaw(language));
    logger_.log(VeskLogLevel::info,
                QStringLiteral("UI language changed — selected=%1, resolved=%2")
                    .arg(toRaw(language), resolvedLocale(language, preferredLanguages_()).bcp47Name()));
}

void VeskDefaultsStore::setSoundEnabled(bool enabled)
{
    if (assign(soundEnabled_, enabled))
        emit soundEnabledChanged();
    defaults_.setBool(key::soundEnabled, enabled);
}

void VeskDefaultsStore::setReducedMotion(bool reduced)
{
    if (assign(reducedMotion_, reduced))
        emit reducedMotionChanged();
    defaults_.setBool(key::reducedMotion, reduced);
}

void VeskDefaultsStore::setWormveskStyle(WormveskStylePreference style)
{
    if (assign(wormveskStyle_, style))
        emit wormveskStyleChanged();
    defaults_.setString(key::wormveskStyle, toRaw(style));
}

void VeskDefaultsStore::setStageVeskAgingMinutes(qint64 minutes)
{
    if (assign(stageVeskAgingMinutes_, minutes))
        emit stageVeskAgingMinutesChanged();
    defaults_.setInteger(key::stageVeskAgingMinutes, minutes);
}

void VeskDefaultsStore::setAnalyticsEnabled(bool enabled)
{
    if (assign(analyticsEnabled_, enabled))
        emit analyticsEnabledChanged();
    defaults_.setBool(key::analyticsEnabled, enabled);
    logger_.log(VeskLogLevel::info, QStringLiteral("Analytics preference changed — enabled=") + boolText(enabled));
}

void VeskDefaultsStore::setAnalyticsNoticeShown(bool shown)
{
    if (assign(analyticsNoticeShown_, shown))
        emit analyticsNoticeShownChanged();
    defaults_.setBool(key::analyticsNoticeShown, shown);
}

void VeskDefaultsStore::setAutoCheckForUpdates(bool enabled)
{
    if (assign(autoCheckForUpdates_, enabled))
        emit autoCheckForUpdatesChanged();
    defaults_.setBool(key::autoCheckForUpdates, enabled);
    logger_.log(VeskLogLevel::info, QStringLiteral("Auto-check for updates changed — enabled=") + boolText(enabled));
}

void VeskDefaultsStore::setAutoInstallUpdates(bool enabled)
{
    if (assign(autoInstallUpdates_, enabled))
        emit autoInstallUpdatesChanged();
    defaults_.setBool(key::autoInstallUpdates, enabled);
    logger_.log(VeskLogLevel::info, QStringLiteral("Auto-install updates changed — enabled=") + boolText(enabled));
}

void VeskDefaultsStore::setScreenFunctionOverrides(const std::set<QString>& overrides)
{
    if (assign(screenFunctionOverrides_, overrides))
        emit screenFunctionOverridesChanged();
    writeOverrides();
}

QString VeskDefaultsStore::overrideToken(quint32 displayID, VeskScreenFunction function)
{
    return QString::number(displayID) + QLatin1Char(':') + toRaw(function);
}

bool VeskDefaultsStore::isScreenFunctionEnabled(VeskScreenFunction function, quint32 displayID,
                                                bool isMainDisplay) const
{
    const bool overridden = screenFunctionOverrides_.contains(overrideToken(displayID, function));
    return isOnByDefault(function, isMainDisplay) != overridden;
}

void VeskDefaultsStore::setScreenFunction(bool enabled, VeskScreenFunction function, quint32 displayID,
                                          bool isMainDisplay)
{
    const QString token = overrideToken(displayID, function);
    if (enabled != isOnByDefault(function, isMainDisplay))
        screenFunctionOverrides_.insert(token);
    else
        screenFunctionOverrides_.erase(token);
    writeOverrides();
    emit screenFunctionOverridesChanged();
}

void VeskDefaultsStore::writeOverrides()
{
    defaults_.setStringArray(key::screenFunctionOverrides,
                             QStringList(screenFunctionOverrides_.begin(), screenFunctionOverrides_.end()));
}

} // namespace vesk
