#include "analytics/client/DefaultSignalPayload.h"
#include "FixedSystemFacts.h"

#include <gtest/gtest.h>

using namespace vesk::telemetry;
using vesk::telemetry::testing::FixedSystemFacts;

namespace {

const QDateTime kTuesdayAfternoon(QDate(2024, 3, 5), QTime(14, 7, 9), Qt::UTC);

SignalParameters withoutCalendar(SignalParameters payload)
{
    std::erase_if(payload, [](const auto& entry) { return entry.first.startsWith("Telemetry.Calendar."); });
    return payload;
}

TEST(DefaultSignalPayload, FixedEntriesCarryTheInjectedFacts)
{
    const SignalParameters payload =
        withoutCalendar(DefaultSignalPayload::parameters(FixedSystemFacts::example(), kTuesdayAfternoon, {}));
    const SignalParameters expected{
        {"platform", "macOS"},
        {"Telemetry.Device.platform", "macOS"},
        {"operatingSystem", "macOS"},
        {"Telemetry.Device.operatingSystem", "macOS"},
        {"systemVersion", "macOS 14.5.1"},
        {"Telemetry.Device.systemVersion", "macOS 14.5.1"},
        {"majorSystemVersion", "macOS 14"},
        {"Telemetry.Device.systemMajorVersion", "macOS 14"},
        {"majorMinorSystemVersion", "macOS 14.5"},
        {"Telemetry.Device.systemMajorMinorVersion", "macOS 14.5"},
        {"appVersion", "1.4.0"},
        {"Telemetry.AppInfo.version", "1.4.0"},
        {"buildNumber", "27"},
        {"Telemetry.AppInfo.buildNumber", "27"},
        {"Telemetry.AppInfo.versionAndBuildNumber", "1.4.0 (build 27)"},
        {"isSimulator", "false"},
        {"Telemetry.RunContext.isSimulator", "false"},
        {"isDebug", "false"},
        {"Telemetry.RunContext.isDebug", "false"},
        {"isTestFlight", "false"},
        {"Telemetry.RunContext.isTestFlight", "false"},
        {"isAppStore", "true"},
        {"Telemetry.RunContext.isAppStore", "true"},
        {"modelName", "Workstation1,1"},
        {"Telemetry.Device.modelName", "Workstation1,1"},
        {"architecture", "arm64"},
        {"Telemetry.Device.architecture", "arm64"},
        {"targetEnvironment", "native"},
        {"Telemetry.RunContext.targetEnvironment", "native"},
        {"locale", "de_DE"},
        {"Telemetry.RunContext.locale", "de_DE"},
        {"region", "DE"},
        {"Telemetry.UserPreference.region", "DE"},
        {"appLanguage", "de"},
        {"Telemetry.RunContext.language", "de"},
        {"preferredLanguage", "en"},
        {"Telemetry.UserPreference.language", "en"},
        {"telemetryClientVersion", "2.14.1"},
        {"Telemetry.SDK.version", "2.14.1"},
        {"Telemetry.SDK.name", "SwiftSDK"},
        {"Telemetry.SDK.nameAndVersion", "SwiftSDK 2.14.1"},
        {"Telemetry.Device.orientation", "Fixed"},
        {"Telemetry.Device.screenResolutionHeight", "1080.0"},
        {"Telemetry.Device.screenResolutionWidth", "1920.0"},
        {"Telemetry.Device.screenScaleFactor", "2.0"},
        {"Telemetry.Device.timeZone", "UTC+1"},
        {"Telemetry.UserPreference.colorScheme", "Dark"},
        {"Telemetry.UserPreference.layoutDirection", "leftToRight"},
    };
    EXPECT_EQ(expected.size(), 48u);
    EXPECT_EQ(payload, expected);
}

TEST(DefaultSignalPayload, MissingFactsFallBack)
{
    SystemFacts facts = FixedSystemFacts::example();
    facts.appVersion.reset();
    facts.buildNumber.reset();
    facts.mainScreen.reset();
    facts.layoutDirection.reset();
    facts.darkAppearance = false;
    facts.regionCode.clear();
    facts.languageCode.clear();
    facts.localeIdentifier = "pt_BR";
    facts.preferredLanguages.clear();
    const SignalParameters payload = DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {});
    EXPECT_EQ(payload.at("appVersion"), "0");
    EXPECT_EQ(payload.at("buildNumber"), "0");
    EXPECT_EQ(payload.at("Telemetry.AppInfo.versionAndBuildNumber"), "0 (build 0)");
    EXPECT_EQ(payload.at("Telemetry.Device.screenResolutionHeight"), "N/A");
    EXPECT_EQ(payload.at("Telemetry.Device.screenResolutionWidth"), "N/A");
    EXPECT_EQ(payload.at("Telemetry.Device.screenScaleFactor"), "N/A");
    EXPECT_EQ(payload.at("Telemetry.UserPreference.layoutDirection"), "N/A");
    EXPECT_EQ(payload.at("Telemetry.UserPreference.colorScheme"), "Light");
    EXPECT_EQ(payload.at("region"), "BR");
    EXPECT_EQ(payload.at("appLanguage"), "pt");
    EXPECT_EQ(payload.at("preferredLanguage"), "zz");

    facts.localeIdentifier = "zh-Hant-TW";
    facts.preferredLanguages = {"sr_Latn"};
    facts.layoutDirection = SystemFacts::LayoutDirection::rightToLeft;
    const SignalParameters other = DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {});
    EXPECT_EQ(other.at("region"), "Hant-TW");
    EXPECT_EQ(other.at("appLanguage"), "zh");
    EXPECT_EQ(other.at("preferredLanguage"), "sr");
    EXPECT_EQ(other.at("Telemetry.UserPreference.layoutDirection"), "rightToLeft");
}

TEST(DefaultSignalPayload, TimeZoneTexts)
{
    const std::vector<std::pair<int, QString>> cases{
        {0, "UTC+0"},       {-12600, "UTC-3:30"}, {19800, "UTC+5:30"}, {3600, "UTC+1"},
        {-36000, "UTC-10"}, {20700, "UTC+5:45"},  {-1800, "UTC-0:30"}, {50400, "UTC+14"},
    };
    for (const auto& [offset, text] : cases)
        EXPECT_EQ(DefaultSignalPayload::timeZoneText(offset), text) << offset;

    SystemFacts facts = FixedSystemFacts::example();
    facts.timeZone = QTimeZone("America/St_Johns");
    EXPECT_EQ(DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {}).at("Telemetry.Device.timeZone"),
              "UTC-3:30");
}

TEST(DefaultSignalPayload, CalendarEntriesFollowTheLocalDay)
{
    SystemFacts facts = FixedSystemFacts::example();
    facts.timeZone = QTimeZone("Pacific/Auckland"); // +13 in March: already Sunday 2024-03-10
    const SignalParameters sunday =
        DefaultSignalPayload::parameters(facts, QDateTime(QDate(2024, 3, 9), QTime(22, 30), Qt::UTC), {});
    EXPECT_EQ(sunday.at("Telemetry.Calendar.dayOfMonth"), "10");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.dayOfWeek"), "7");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.isWeekend"), "true");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.dayOfYear"), "70");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.weekOfYear"), "10");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.monthOfYear"), "3");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.quarterOfYear"), "1");
    EXPECT_EQ(sunday.at("Telemetry.Calendar.hourOfDay"), "11");

    const SignalParameters monday =
        DefaultSignalPayload::calendarEntries(QDateTime(QDate(2024, 11, 4), QTime(23, 59), QTimeZone("Europe/Berlin")));
    EXPECT_EQ(monday.at("Telemetry.Calendar.dayOfWeek"), "1");
    EXPECT_EQ(monday.at("Telemetry.Calendar.isWeekend"), "false");
    EXPECT_EQ(monday.at("Telemetry.Calendar.quarterOfYear"), "4");
    EXPECT_EQ(monday.at("Telemetry.Calendar.hourOfDay"), "23");
    EXPECT_EQ(monday.size(), 8u);

    for (const auto& [key, value] : DefaultSignalPayload::calendarEntries(QDateTime()))
        EXPECT_EQ(value, "-1") << key.toStdString();
}

TEST(DefaultSignalPayload, SaturdayAndSundayAreTheWeekend)
{
    // Monday 2024-11-04 to Sunday 2024-11-10, at noon in Berlin.
    const std::vector<std::pair<QString, QString>> week{{"1", "false"}, {"2", "false"}, {"3", "false"}, {"4", "false"},
                                                        {"5", "false"}, {"6", "true"},  {"7", "true"}};
    for (int day = 0; day < 7; ++day) {
        const SignalParameters entries = DefaultSignalPayload::calendarEntries(
            QDateTime(QDate(2024, 11, 4 + day), QTime(12, 0), QTimeZone("Europe/Berlin")));
        EXPECT_EQ(entries.at("Telemetry.Calendar.dayOfWeek"), week[day].first);
        EXPECT_EQ(entries.at("Telemetry.Calendar.isWeekend"), week[day].second)
            << "day " << week[day].first.toStdString();
    }
}

TEST(DefaultSignalPayload, AccessibilityEntriesOnlyWithTheUniversalAccessDomain)
{
    SystemFacts facts = FixedSystemFacts::example();
    EXPECT_FALSE(DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {})
                     .contains("Telemetry.Accessibility.isReduceMotionEnabled"));

    // Only a Boolean true counts.
    facts.universalAccess = QVariantMap{{"reduceMotion", true}, {"InvertColors", 1}};
    const SignalParameters payload = DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {});
    EXPECT_EQ(payload.at("Telemetry.Accessibility.isReduceMotionEnabled"), "true");
    EXPECT_EQ(payload.at("Telemetry.Accessibility.isInvertColorsEnabled"), "false");

    facts.universalAccess = QVariantMap();
    EXPECT_EQ(DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {})
                  .at("Telemetry.Accessibility.isReduceMotionEnabled"),
              "false");
}

TEST(DefaultSignalPayload, ExtensionAndStatisticsEntriesComeLastAndWin)
{
    SystemFacts facts = FixedSystemFacts::example();
    facts.extensionPointIdentifier = "com.example.widget";
    const SignalParameters payload =
        DefaultSignalPayload::parameters(facts, kTuesdayAfternoon,
                                         {{"Telemetry.Retention.totalSessionsCount", "4"},
                                          {"Telemetry.Calendar.hourOfDay", "statistics win"}});
    EXPECT_EQ(payload.at("extensionIdentifier"), "com.example.widget");
    EXPECT_EQ(payload.at("Telemetry.RunContext.extensionIdentifier"), "com.example.widget");
    EXPECT_EQ(payload.at("Telemetry.Retention.totalSessionsCount"), "4");
    EXPECT_EQ(payload.at("Telemetry.Calendar.hourOfDay"), "statistics win");
    EXPECT_EQ(payload.size(), 48u + 8u + 2u + 1u);
}

TEST(DefaultSignalPayload, StoreReceiptTellsTheTestChannelFromTheStore)
{
    const std::vector<std::pair<std::optional<QString>, bool>> cases{
        {std::nullopt, false},
        {"/Applications/Vesk.app/Contents/_MASReceipt/receipt", false},
        {"/Applications/Vesk.app/Contents/_MASReceipt/sandboxReceipt", true},
        {"/tmp/sandboxReceipts/receipt", true},
    };
    for (const auto& [path, testFlight] : cases) {
        SystemFacts facts = FixedSystemFacts::example();
        facts.storeReceiptPath = path;
        const SignalParameters payload = DefaultSignalPayload::parameters(facts, kTuesdayAfternoon, {});
        EXPECT_EQ(payload.at("isTestFlight"), testFlight ? "true" : "false") << path.value_or("none").toStdString();
        EXPECT_EQ(payload.at("isAppStore"), testFlight ? "false" : "true");
    }
}

} // namespace
