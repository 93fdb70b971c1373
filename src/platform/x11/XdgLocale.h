#pragma once

#include <QString>
#include <QStringList>

namespace vesk::platform {

// The message locale as desktop entries match it: "lang_COUNTRY.ENCODING@MODIFIER",
// of which only the language is required and the encoding never counts.
struct XdgLocale {
    QString language;
    QString country;
    QString modifier;

    // None (an empty language) for "C", "POSIX" and empty text.
    static XdgLocale parse(const QString& text);

    // The locale suffixes of a localised key to try, best first:
    // "de_DE@euro", "de_DE", "de@euro", "de"; empty for no locale. The
    // unlocalised key comes after all of them.
    QStringList keySuffixes() const;

    bool operator==(const XdgLocale&) const = default;
};

} // namespace vesk::platform
