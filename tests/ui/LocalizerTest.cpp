#include "ui/Localizer.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

const QString testTables = QStringLiteral(":/test-translations");

TEST(Localizer, GermanShowsTheSourceTexts)
{
    const Localizer german(QLocale(QLocale::German), testTables);
    EXPECT_FALSE(german.hasTable());
    EXPECT_EQ(german.translate("LocalizerTest", "Sichtbar"), QStringLiteral("Sichtbar"));
    EXPECT_EQ(Localizer().translate("LocalizerTest", "%1 öffnen").arg("Mail"), QStringLiteral("Mail öffnen"));
}

TEST(Localizer, ALocaleWithATableShowsItsTexts)
{
    const Localizer english(QLocale(QLocale::English, QLocale::UnitedKingdom), testTables);
    ASSERT_TRUE(english.hasTable());
    EXPECT_EQ(english.translate("LocalizerTest", "Sichtbar"), QStringLiteral("Visible"));
    EXPECT_EQ(english.translate("LocalizerTest", "%1 öffnen").arg("Mail"), QStringLiteral("Open Mail"));
    EXPECT_EQ(english.translate("LocalizerTest", "Schliessen", "button"), QStringLiteral("Close"));
}

TEST(Localizer, SwitchingTheLocaleSwitchesTheTexts)
{
    for (const auto& [locale, expected] :
         {std::pair{QLocale(QLocale::English), "Visible"}, std::pair{QLocale(QLocale::German), "Sichtbar"},
          std::pair{QLocale(QLocale::English, QLocale::UnitedStates), "Visible"}}) {
        EXPECT_EQ(Localizer(locale, testTables).translate("LocalizerTest", "Sichtbar"), QString::fromUtf8(expected))
            << locale.name().toStdString();
    }
}

TEST(Localizer, AMissingEntryShowsTheGermanText)
{
    const Localizer english(QLocale(QLocale::English), testTables);
    EXPECT_EQ(english.translate("LocalizerTest", "Session beenden"), QStringLiteral("Session beenden"));
    // The entry exists under another context only.
    EXPECT_EQ(english.translate("OtherView", "Sichtbar"), QStringLiteral("Sichtbar"));
}

TEST(Localizer, ALanguageWithoutATableShowsGerman)
{
    const Localizer french(QLocale(QLocale::French), testTables);
    EXPECT_FALSE(french.hasTable());
    EXPECT_EQ(french.translate("LocalizerTest", "Sichtbar"), QStringLiteral("Sichtbar"));
}

TEST(Localizer, PluralFormsFollowTheCount)
{
    const Localizer english(QLocale(QLocale::English), testTables);
    EXPECT_EQ(english.translate("LocalizerTest", "%n Apps im Vesk", nullptr, 1), QStringLiteral("1 app in the Vesk"));
    EXPECT_EQ(english.translate("LocalizerTest", "%n Apps im Vesk", nullptr, 3), QStringLiteral("3 apps in the Vesk"));
    EXPECT_EQ(Localizer().translate("LocalizerTest", "%n Apps im Vesk", nullptr, 3), QStringLiteral("3 Apps im Vesk"));
}

} // namespace
} // namespace vesk
