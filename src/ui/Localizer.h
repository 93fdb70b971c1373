#pragma once

#include <QLocale>
#include <QString>

#include <memory>

class QTranslator;

namespace vesk {

// The text lookup of the interface. German texts are the source texts and
// the keys; each other language has a compiled Qt Linguist table
// "vesk_<code>.qm" (en, it, fr, es). A view is given a Localizer for the
// app's language setting or for an explicit locale, and asks it for every
// shown text:
//
//     localizer.translate("SessionHUDView", "Sichtbar")
//     localizer.translate("SessionHUDView", "%1 öffnen").arg(name)
//
// lupdate finds these calls by their shape (context, German text). A text
// missing from the table, and every text in German, shows the German text.
// Texts that must stay as they are (log lines, app names, language names)
// are not looked up.
class Localizer {
public:
    static inline const QString defaultTableDirectory = QStringLiteral(":/translations");

    // German: the source texts.
    Localizer();
    explicit Localizer(const QLocale& locale, const QString& tableDirectory = defaultTableDirectory);

    const QLocale& locale() const { return locale_; }
    // Whether a table was found for the locale's language.
    bool hasTable() const { return table_ != nullptr; }

    // With n ≥ 0, the table's plural form for n, and "%n" replaced by n.
    QString translate(const char* context, const char* sourceText, const char* disambiguation = nullptr,
                      int n = -1) const;

private:
    QLocale locale_;
    std::shared_ptr<const QTranslator> table_;
};

} // namespace vesk
