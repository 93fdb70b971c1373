#include "settings/VeskLanguage.h"

namespace vesk {

const QSet<QString>& supportedLanguageCodes()
{
    static const QSet<QString> codes{QStringLiteral("de"), QStringLiteral("en"), QStringLiteral("it"),
                                     QStringLiteral("fr"), QStringLiteral("es")};
    return codes;
}

namespace {

std::optional<QString> languageCode(const QString& identifier)
{
    const QLocale locale(identifier);
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return std::nullopt;
    return QLocale::languageToCode(locale.language());
}

} // namespace

QLocale resolvedLocale(VeskLanguage language, const QStringList& preferredLanguages)
{
    if (language != VeskLanguage::system)
        return QLocale(toRaw(language));
    for (const QString& identifier : preferredLanguages) {
        const std::optional<QString> code = languageCode(identifier);
        if (code && supportedLanguageCodes().contains(*code))
            return QLocale(*code);
    }
    return QLocale(QStringLiteral("en"));
}

} // namespace vesk
