#include "platform/x11/GSettingsDesktopFamily.h"

#include <QStringList>

#include <optional>

namespace vesk::platform {

namespace {

std::optional<GSettingsDesktopFamily> familyNamed(const QString& name)
{
    const QString lowered = name.trimmed().toLower();
    if (lowered == QLatin1String("gnome") || lowered == QLatin1String("gnome-classic")
        || lowered == QLatin1String("gnome-flashback"))
        return GSettingsDesktopFamily::gnome;
    if (lowered == QLatin1String("budgie"))
        return GSettingsDesktopFamily::budgie;
    if (lowered == QLatin1String("x-cinnamon") || lowered == QLatin1String("cinnamon"))
        return GSettingsDesktopFamily::cinnamon;
    if (lowered == QLatin1String("mate"))
        return GSettingsDesktopFamily::mate;
    return std::nullopt;
}

} // namespace

GSettingsDesktopFamily gsettingsDesktopFamily(const QString& xdgCurrentDesktop)
{
    for (const QString& name : xdgCurrentDesktop.split(QLatin1Char(':'), Qt::SkipEmptyParts)) {
        if (const auto family = familyNamed(name))
            return *family;
    }
    return GSettingsDesktopFamily::other;
}

QString toRaw(GSettingsDesktopFamily family)
{
    switch (family) {
    case GSettingsDesktopFamily::gnome:
        return QStringLiteral("GNOME");
    case GSettingsDesktopFamily::budgie:
        return QStringLiteral("Budgie");
    case GSettingsDesktopFamily::cinnamon:
        return QStringLiteral("Cinnamon");
    case GSettingsDesktopFamily::mate:
        return QStringLiteral("MATE");
    case GSettingsDesktopFamily::other:
        break;
    }
    return QStringLiteral("other");
}

} // namespace vesk::platform
