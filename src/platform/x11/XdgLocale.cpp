#include "platform/x11/XdgLocale.h"

namespace vesk::platform {

XdgLocale XdgLocale::parse(const QString& text)
{
    QString rest = text.trimmed();
    if (rest.isEmpty() || rest == QStringLiteral("C") || rest.startsWith(QStringLiteral("C."))
        || rest == QStringLiteral("POSIX"))
        return {};
    XdgLocale locale;
    if (const qsizetype at = rest.indexOf(QLatin1Char('@')); at >= 0) {
        locale.modifier = rest.mid(at + 1);
        rest.truncate(at);
    }
    if (const qsizetype dot = rest.indexOf(QLatin1Char('.')); dot >= 0)
        rest.truncate(dot);
    if (const qsizetype underscore = rest.indexOf(QLatin1Char('_')); underscore >= 0) {
        locale.country = rest.mid(underscore + 1);
        rest.truncate(underscore);
    }
    locale.language = rest;
    if (locale.language.isEmpty())
        return {};
    return locale;
}

QStringList XdgLocale::keySuffixes() const
{
    if (language.isEmpty())
        return {};
    QStringList suffixes;
    const QString withCountry = language + QLatin1Char('_') + country;
    if (!country.isEmpty() && !modifier.isEmpty())
        suffixes.append(withCountry + QLatin1Char('@') + modifier);
    if (!country.isEmpty())
        suffixes.append(withCountry);
    if (!modifier.isEmpty())
        suffixes.append(language + QLatin1Char('@') + modifier);
    suffixes.append(language);
    return suffixes;
}

} // namespace vesk::platform
