#pragma once

#include "core/RawValue.h"

#include <QHashFunctions>
#include <QLocale>
#include <QSet>
#include <QString>
#include <QStringList>

#include <array>

namespace vesk {

// The user-interface language setting, stored by its raw value.
enum class VeskLanguage { system, german, english, italian, french, spanish };

inline QString toRaw(VeskLanguage language)
{
    switch (language) {
    case VeskLanguage::system:
        return QStringLiteral("system");
    case VeskLanguage::german:
        return QStringLiteral("de");
    case VeskLanguage::english:
        return QStringLiteral("en");
    case VeskLanguage::italian:
        return QStringLiteral("it");
    case VeskLanguage::french:
        return QStringLiteral("fr");
    case VeskLanguage::spanish:
        return QStringLiteral("es");
    }
    return {};
}

// The identifier of a language setting is its raw value.
inline QString identifier(VeskLanguage language)
{
    return toRaw(language);
}

template <>
struct EnumCases<VeskLanguage> {
    static constexpr std::array values{VeskLanguage::system,  VeskLanguage::german, VeskLanguage::english,
                                       VeskLanguage::italian, VeskLanguage::french, VeskLanguage::spanish};
};

inline size_t qHash(VeskLanguage language, size_t seed = 0) noexcept
{
    return qHash(toRaw(language), seed);
}

// The language codes the interface is translated into: de, en, it, fr, es.
const QSet<QString>& supportedLanguageCodes();

// The locale the interface uses for a setting. For `system` the first of the
// user's preferred languages (most preferred first, e.g. "de-CH") whose
// language code is supported wins, as the bare code; otherwise "en".
// The locale's bcp47Name() is its identifier ("de", "en", ...).
QLocale resolvedLocale(VeskLanguage language, const QStringList& preferredLanguages);

} // namespace vesk
