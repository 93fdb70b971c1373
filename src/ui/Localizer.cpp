#include "ui/Localizer.h"

#include <QTranslator>

#include <map>
#include <mutex>

namespace vesk {

namespace {

// Tables are loaded once per file and shared by every Localizer.
std::shared_ptr<const QTranslator> tableFor(const QLocale& locale, const QString& directory)
{
    if (locale.language() == QLocale::German || locale.language() == QLocale::C)
        return nullptr;
    const QString name = QStringLiteral("vesk_") + QLocale::languageToCode(locale.language());

    static std::mutex mutex;
    static std::map<QString, std::shared_ptr<const QTranslator>> tables;
    const std::lock_guard lock(mutex);
    const QString key = directory + QLatin1Char('/') + name;
    const auto found = tables.find(key);
    if (found != tables.end())
        return found->second;
    auto table = std::make_shared<QTranslator>();
    std::shared_ptr<const QTranslator> loaded = table->load(name, directory) ? std::move(table) : nullptr;
    tables.emplace(key, loaded);
    return loaded;
}

QString withCount(QString text, int n, const QLocale& locale)
{
    if (n < 0)
        return text;
    text.replace(QStringLiteral("%Ln"), locale.toString(n));
    text.replace(QStringLiteral("%n"), QString::number(n));
    return text;
}

} // namespace

Localizer::Localizer() : locale_(QLocale::German, QLocale::Germany)
{
}

Localizer::Localizer(const QLocale& locale, const QString& tableDirectory)
    : locale_(locale)
    , table_(tableFor(locale, tableDirectory))
{
}

QString Localizer::translate(const char* context, const char* sourceText, const char* disambiguation, int n) const
{
    QString text;
    if (table_)
        text = table_->translate(context, sourceText, disambiguation, n);
    if (text.isEmpty())
        text = QString::fromUtf8(sourceText);
    return withCount(std::move(text), n, locale_);
}

} // namespace vesk
