#include "session/BundleApplicationCapabilityDetector.h"

#include <QVariantList>
#include <QVariantMap>

namespace vesk {

namespace {

bool isArrayOfStrings(const QVariant& value)
{
    if (value.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList items = value.toList();
    return std::all_of(items.begin(), items.end(),
                       [](const QVariant& item) { return item.typeId() == QMetaType::QString; });
}

} // namespace

bool BundleApplicationCapabilityDetector::supportsWebURLSchemes(const QUrl& applicationURL) const
{
    const std::optional<QVariantMap> info = bundles_.infoDictionary(applicationURL);
    if (!info || info->isEmpty())
        return false;
    const QVariant urlTypes = info->value(QStringLiteral("CFBundleURLTypes"));
    if (urlTypes.typeId() != QMetaType::QVariantList)
        return false;
    const QVariantList entries = urlTypes.toList();
    const bool allDictionaries = std::all_of(entries.begin(), entries.end(), [](const QVariant& entry) {
        return entry.typeId() == QMetaType::QVariantMap;
    });
    if (!allDictionaries)
        return false;
    for (const QVariant& entry : entries) {
        const QVariant schemes = entry.toMap().value(QStringLiteral("CFBundleURLSchemes"));
        if (!isArrayOfStrings(schemes))
            continue;
        for (const QVariant& scheme : schemes.toList()) {
            const QString lower = scheme.toString().toLower();
            if (lower == QStringLiteral("http") || lower == QStringLiteral("https"))
                return true;
        }
    }
    return false;
}

} // namespace vesk
