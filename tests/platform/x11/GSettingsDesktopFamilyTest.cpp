#include "platform/x11/GSettingsDesktopFamily.h"

#include <gtest/gtest.h>

using namespace vesk::platform;

TEST(GSettingsDesktopFamilyTest, TheFirstKnownNameOfTheListDecides)
{
    const std::vector<std::pair<const char*, GSettingsDesktopFamily>> cases{
        {"GNOME", GSettingsDesktopFamily::gnome},
        {"ubuntu:GNOME", GSettingsDesktopFamily::gnome},
        {"GNOME-Classic:GNOME", GSettingsDesktopFamily::gnome},
        {"Budgie:GNOME", GSettingsDesktopFamily::budgie},
        {"X-Cinnamon", GSettingsDesktopFamily::cinnamon},
        {"MATE", GSettingsDesktopFamily::mate},
        {"XFCE", GSettingsDesktopFamily::other},
        {"KDE", GSettingsDesktopFamily::other},
        {"", GSettingsDesktopFamily::other},
    };
    for (const auto& [text, family] : cases)
        EXPECT_EQ(gsettingsDesktopFamily(QString::fromUtf8(text)), family) << text;
}
