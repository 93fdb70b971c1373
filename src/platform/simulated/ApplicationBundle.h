#pragma once

#include "platform/simulated/BundleSpec.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

namespace vesk::platform {

// A bundle folder on disk and its information dictionary.
class ApplicationBundle {
public:
    // The bundle at a folder: none when the folder or its Info.plist is
    // missing or the property list does not parse.
    static std::optional<ApplicationBundle> open(const QString& folder);
    // Writes the folder and its Contents/Info.plist; false with a message on failure.
    static bool write(const BundleSpec& spec, const QString& folder, QString* error);
    static QVariantMap infoDictionary(const BundleSpec& spec);

    const QString& folder() const { return folder_; }
    const QVariantMap& infoDictionary() const { return info_; }
    std::optional<QString> bundleIdentifier() const;

private:
    QString folder_;
    QVariantMap info_;
};

} // namespace vesk::platform
