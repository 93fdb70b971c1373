#pragma once

#include "platform/SystemInfoProviding.h"

#include <QString>

#include <optional>

namespace vesk::platform {

class GSettingsTool;

// The machine and the appearance as a Linux desktop tells them, each read
// once: the model, when this is built, from the firmware's DMI tables
// (`/sys/class/dmi/id`: product_name, else board_name, leaving out the
// placeholders boards ship with), and a dark appearance when GNOME's
// org.gnome.desktop.interface prefers dark ("color-scheme") or names a dark
// theme ("gtk-theme" ending in "-dark"), at the first ask (it runs `gsettings`).
class X11SystemInfo final : public SystemInfoProviding {
public:
    static inline const QString dmiFolder = QStringLiteral("/sys/class/dmi/id");

    X11SystemInfo(const QString& dmiFolderPath, GSettingsTool& tool);

    QString hardwareModel() const override { return model_; }
    bool isDarkAppearance() const override;

    static QString modelFromDmi(const QString& dmiFolderPath);

private:
    static bool readDarkAppearance(GSettingsTool& tool);

    QString model_;
    GSettingsTool& tool_;
    mutable std::optional<bool> dark_;
};

} // namespace vesk::platform
