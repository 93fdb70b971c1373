#pragma once

#include "core/RawValue.h"
#include "core/UserDefaults.h"
#include "logging/VeskLogger.h"
#include "settings/VeskLanguage.h"
#include "settings/VeskScreenFunction.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <set>

namespace vesk {

// The user's settings: the "vesk." keys of a user-defaults domain, read once
// at construction and written through on every assignment. Assigning a value
// equal to the held one writes the key again but notifies nobody. Other
// instances over the same domain see a change only when they are built again.
// Main thread only.
class VeskDefaultsStore : public QObject {
    Q_OBJECT
    Q_PROPERTY(qint64 defaultDurationSeconds READ defaultDurationSeconds WRITE setDefaultDurationSeconds NOTIFY
                   defaultDurationSecondsChanged)
    Q_PROPERTY(bool defaultHardcoreOn READ defaultHardcoreOn WRITE setDefaultHardcoreOn NOTIFY defaultHardcoreOnChanged)
    Q_PROPERTY(vesk::VeskLanguage language READ language WRITE setLanguage NOTIFY languageChanged)
    Q_PROPERTY(bool soundEnabled READ soundEnabled WRITE setSoundEnabled NOTIFY soundEnabledChanged)
    Q_PROPERTY(bool reducedMotion READ reducedMotion WRITE setReducedMotion NOTIFY reducedMotionChanged)
    Q_PROPERTY(
        WormveskStylePreference wormveskStyle READ wormveskStyle WRITE setWormveskStyle NOTIFY wormveskStyleChanged)
    Q_PROPERTY(qint64 stageVeskAgingMinutes READ stageVeskAgingMinutes WRITE setStageVeskAgingMinutes NOTIFY
                   stageVeskAgingMinutesChanged)
    Q_PROPERTY(bool analyticsEnabled READ analyticsEnabled WRITE setAnalyticsEnabled NOTIFY analyticsEnabledChanged)
    Q_PROPERTY(bool analyticsNoticeShown READ analyticsNoticeShown WRITE setAnalyticsNoticeShown NOTIFY
                   analyticsNoticeShownChanged)
    Q_PROPERTY(bool autoCheckForUpdates READ autoCheckForUpdates WRITE setAutoCheckForUpdates NOTIFY
                   autoCheckForUpdatesChanged)
    Q_PROPERTY(
        bool autoInstallUpdates READ autoInstallUpdates WRITE setAutoInstallUpdates NOTIFY autoInstallUpdatesChanged)
    Q_PROPERTY(std::set<QString> screenFunctionOverrides READ screenFunctionOverrides WRITE setScreenFunctionOverrides
                   NOTIFY screenFunctionOverridesChanged)

public:
    enum class WormveskStylePreference { system, cosmic, solar };
    Q_ENUM(WormveskStylePreference)

    // The user's preferred languages, most preferred first ("de-CH", ...).
    using PreferredLanguagesProvider = std::function<QStringList()>;
    static QStringList systemPreferredLanguages();

    static constexpr qint64 fallbackDurationSeconds = 900;
    static constexpr qint64 fallbackStageVeskAgingMinutes = 5;

    explicit VeskDefaultsStore(UserDefaults& defaults,
                               PreferredLanguagesProvider preferredLanguages = systemPreferredLanguages,
                               QObject* parent = nullptr);

    qint64 defaultDurationSeconds() const { return defaultDurationSeconds_; }
    bool defaultHardcoreOn() const { return defaultHardcoreOn_; }
    VeskLanguage language() const { return language_; }
    // The locale the interface shows: the language setting resolved against
    // the user's preferred languages as they are now.
    QLocale interfaceLocale() const;
    bool soundEnabled() const { return soundEnabled_; }
    bool reducedMotion() const { return reducedMotion_; }
    WormveskStylePreference wormveskStyle() const { return wormveskStyle_; }
    qint64 stageVeskAgingMinutes() const { return stageVeskAgingMinutes_; }
    bool analyticsEnabled() const { return analyticsEnabled_; }
    bool analyticsNoticeShown() const { return analyticsNoticeShown_; }
    bool autoCheckForUpdates() const { return autoCheckForUpdates_; }
    bool autoInstallUpdates() const { return autoInstallUpdates_; }
    const std::set<QString>& screenFunctionOverrides() const { return screenFunctionOverrides_; }

    void setDefaultDurationSeconds(qint64 seconds);
    void setDefaultHardcoreOn(bool on);
    void setLanguage(VeskLanguage language);
    void setSoundEnabled(bool enabled);
    void setReducedMotion(bool reduced);
    void setWormveskStyle(WormveskStylePreference style);
    void setStageVeskAgingMinutes(qint64 minutes);
    void setAnalyticsEnabled(bool enabled);
    void setAnalyticsNoticeShown(bool shown);
    void setAutoCheckForUpdates(bool enabled);
    void setAutoInstallUpdates(bool enabled);
    void setScreenFunctionOverrides(const std::set<QString>& overrides);

    // Whether a stage function is on for a display. Every function is on by
    // default on the main display, and the apps bar on every display; an
    // override token ("<display id>:<function>") flips the default.
    bool isScreenFunctionEnabled(VeskScreenFunction function, quint32 displayID, bool isMainDisplay) const;
    // Keeps a token exactly when the state differs from the default, writes
    // the whole set, and always notifies.
    void setScreenFunction(bool enabled, VeskScreenFunction function, quint32 displayID, bool isMainDisplay);

    static QString overrideToken(quint32 displayID, VeskScreenFunction function);

signals:
    void defaultDurationSecondsChanged();
    void defaultHardcoreOnChanged();
    void languageChanged();
    void soundEnabledChanged();
    void reducedMotionChanged();
    void wormveskStyleChanged();
    void stageVeskAgingMinutesChanged();
    void analyticsEnabledChanged();
    void analyticsNoticeShownChanged();
    void autoCheckForUpdatesChanged();
    void autoInstallUpdatesChanged();
    void screenFunctionOverridesChanged();

private:
    void readSettings();
    void readAnalyticsEnabled();
    void migrateSoundDefault();
    void writeOverrides();

    const VeskLogger logger_{QStringLiteral("VeskDefaultsStore")};
    UserDefaults& defaults_;
    PreferredLanguagesProvider preferredLanguages_;

    qint64 defaultDurationSeconds_ = fallbackDurationSeconds;
    bool defaultHardcoreOn_ = false;
    VeskLanguage language_ = VeskLanguage::system;
    bool soundEnabled_ = false;
    bool reducedMotion_ = false;
    WormveskStylePreference wormveskStyle_ = WormveskStylePreference::system;
    qint64 stageVeskAgingMinutes_ = fallbackStageVeskAgingMinutes;
    bool analyticsEnabled_ = true;
    bool analyticsNoticeShown_ = false;
    bool autoCheckForUpdates_ = true;
    bool autoInstallUpdates_ = false;
    std::set<QString> screenFunctionOverrides_;
};

inline QString toRaw(VeskDefaultsStore::WormveskStylePreference style)
{
    switch (style) {
    case VeskDefaultsStore::WormveskStylePreference::system:
        return QStringLiteral("system");
    case VeskDefaultsStore::WormveskStylePreference::cosmic:
        return QStringLiteral("cosmic");
    case VeskDefaultsStore::WormveskStylePreference::solar:
        return QStringLiteral("solar");
    }
    return {};
}

template <>
struct EnumCases<VeskDefaultsStore::WormveskStylePreference> {
    static constexpr std::array values{VeskDefaultsStore::WormveskStylePreference::system,
                                       VeskDefaultsStore::WormveskStylePreference::cosmic,
                                       VeskDefaultsStore::WormveskStylePreference::solar};
};

inline size_t qHash(VeskDefaultsStore::WormveskStylePreference style, size_t seed = 0) noexcept
{
    return qHash(toRaw(style), seed);
}

} // namespace vesk
