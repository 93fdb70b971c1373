#include "platform/simulated/ApplicationBundle.h"

#include "platform/simulated/PropertyList.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vesk::platform {

namespace {
QString infoPlistPath(const QString& folder)
{
    return folder + QStringLiteral("/Contents/Info.plist");
}
} // namespace

std::optional<ApplicationBundle> ApplicationBundle::open(const QString& folder)
{
    QFile file(infoPlistPath(folder));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto root = PropertyList::fromXml(file.readAll());
    if (!root || root->typeId() != QMetaType::QVariantMap)
        return std::nullopt;
    ApplicationBundle bundle;
    bundle.folder_ = folder;
    bundle.info_ = root->toMap();
    return bundle;
}

std::optional<QString> ApplicationBundle::bundleIdentifier() const
{
    const QVariant value = info_.value(QStringLiteral("CFBundleIdentifier"));
    if (value.typeId() != QMetaType::QString || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

QVariantMap ApplicationBundle::infoDictionary(const BundleSpec& spec)
{
    QVariantMap info = spec.extraInfo;
    if (spec.bundleIdentifier)
        info.insert(QStringLiteral("CFBundleIdentifier"), *spec.bundleIdentifier);
    if (!spec.name.isEmpty())
        info.insert(QStringLiteral("CFBundleName"), spec.name);
    if (spec.displayName)
        info.insert(QStringLiteral("CFBundleDisplayName"), *spec.displayName);
    if (spec.version)
        info.insert(QStringLiteral("CFBundleVersion"), *spec.version);
    if (spec.shortVersion)
        info.insert(QStringLiteral("CFBundleShortVersionString"), *spec.shortVersion);
    info.insert(QStringLiteral("CFBundlePackageType"), QStringLiteral("APPL"));
    if (!spec.urlSchemes.isEmpty()) {
        QVariantMap urlType;
        urlType.insert(QStringLiteral("CFBundleURLName"), spec.name);
        urlType.insert(QStringLiteral("CFBundleURLSchemes"), QVariant(spec.urlSchemes).toList());
        info.insert(QStringLiteral("CFBundleURLTypes"), QVariantList{urlType});
    }
    return info;
}

bool ApplicationBundle::write(const BundleSpec& spec, const QString& folder, QString* error)
{
    if (!QDir().mkpath(folder + QStringLiteral("/Contents/MacOS"))) {
        if (error)
            *error = QStringLiteral("cannot create bundle folder ") + folder;
        return false;
    }
    QSaveFile file(infoPlistPath(folder));
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error =
                QStringLiteral("cannot write ") + infoPlistPath(folder) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    file.write(PropertyList::toXml(infoDictionary(spec)));
    if (!file.commit()) {
        if (error)
            *error =
                QStringLiteral("cannot write ") + infoPlistPath(folder) + QStringLiteral(": ") + file.errorString();
        return false;
    }
    return true;
}

} // namespace vesk::platform
