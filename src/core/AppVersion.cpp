#include "core/AppVersion.h"

#include <QCoreApplication>
#include <QMetaType>

#include <optional>

namespace vesk {

namespace {

const QString kShortVersionKey = QStringLiteral("CFBundleShortVersionString");
const QString kVersionKey = QStringLiteral("CFBundleVersion");

std::optional<QVariantMap>& installedMainBundleInfo()
{
    static std::optional<QVariantMap> info;
    return info;
}

QString textEntry(const QVariantMap& info, const QString& key)
{
    const auto entry = info.constFind(key);
    if (entry == info.constEnd() || entry->typeId() != QMetaType::QString)
        return QStringLiteral("?");
    return entry->toString();
}

} // namespace

QVariantMap mainBundleInfoDictionary()
{
    if (installedMainBundleInfo())
        return *installedMainBundleInfo();
    QVariantMap info;
    if (!QCoreApplication::applicationVersion().isEmpty())
        info.insert(kShortVersionKey, QCoreApplication::applicationVersion());
    return info;
}

void setMainBundleInfoDictionary(const QVariantMap& info)
{
    installedMainBundleInfo() = info;
}

QString appVersionString(const QVariantMap& info)
{
    return textEntry(info, kShortVersionKey);
}

QString appBuildString(const QVariantMap& info)
{
    return textEntry(info, kVersionKey);
}

} // namespace vesk
