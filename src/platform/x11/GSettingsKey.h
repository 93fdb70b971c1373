#pragma once

#include <QString>

namespace vesk::platform {

// One key of one GSettings schema ("org.gnome.desktop.interface" and
// "enable-hot-corners").
struct GSettingsKey {
    QString schema;
    QString key;

    // "<schema> <key>", as `gsettings list-recursively` prints it.
    QString text() const { return schema + QLatin1Char(' ') + key; }

    bool operator==(const GSettingsKey&) const = default;
    auto operator<=>(const GSettingsKey& other) const
    {
        if (const auto bySchema = schema.compare(other.schema); bySchema != 0)
            return bySchema <=> 0;
        return key.compare(other.key) <=> 0;
    }
};

} // namespace vesk::platform
