#pragma once

#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QVariantMap>

#include <optional>

namespace vesk::telemetry {

// What the system reports at one moment, as the default payload reads it.
// Values are as the system gives them; the payload applies its own fallbacks.
struct SystemFacts {
    enum class LayoutDirection { leftToRight, rightToLeft };
    struct Screen {
        double width = 0;
        double height = 0;
        double scale = 1;
        bool operator==(const Screen&) const = default;
    };

    int systemMajorVersion = 0;
    int systemMinorVersion = 0;
    int systemPatchVersion = 0;
    // The main bundle's "CFBundleShortVersionString" and "CFBundleVersion".
    std::optional<QString> appVersion;
    std::optional<QString> buildNumber;
    // The main bundle's store receipt; none for a build from outside a store.
    std::optional<QString> storeReceiptPath;
    // The main bundle's extension point; none for an application.
    std::optional<QString> extensionPointIdentifier;
    QString modelName;
    // "x86_64", "arm64", …
    QString architecture;
    // "de_DE"; the region and language codes are empty when the locale names none.
    QString localeIdentifier;
    QString regionCode;
    QString languageCode;
    // The user's preferred languages, most preferred first ("de-DE", "en").
    QStringList preferredLanguages;
    QTimeZone timeZone;
    bool darkAppearance = false;
    // None without an application object.
    std::optional<LayoutDirection> layoutDirection;
    // None without a main screen.
    std::optional<Screen> mainScreen;
    // The user's "com.apple.universalaccess" defaults domain, when the system holds one.
    std::optional<QVariantMap> universalAccess;

    bool operator==(const SystemFacts&) const = default;
};

} // namespace vesk::telemetry
