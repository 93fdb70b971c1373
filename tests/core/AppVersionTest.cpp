#include "core/AppVersion.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vesk;

namespace {

TEST(AppVersionStringsTest, ReadTextEntriesAndFallBackToQuestionMark)
{
    struct Case {
        QVariantMap info;
        QString version;
        QString build;
    };
    const std::vector<Case> cases{
        {{{"CFBundleShortVersionString", "1.4.2"}, {"CFBundleVersion", "87"}}, "1.4.2", "87"},
        {{{"CFBundleShortVersionString", "1.4.2"}}, "1.4.2", "?"},
        {{}, "?", "?"},
        // Entries that are not text count as missing.
        {{{"CFBundleShortVersionString", 14}, {"CFBundleVersion", QVariant()}}, "?", "?"},
        {{{"CFBundleShortVersionString", ""}, {"CFBundleVersion", "0"}}, "", "0"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(appVersionString(c.info), c.version) << c.info.size();
        EXPECT_EQ(appBuildString(c.info), c.build) << c.info.size();
    }
}

TEST(AppVersionStringsTest, DefaultsReadTheInstalledMainBundle)
{
    setMainBundleInfoDictionary({{"CFBundleShortVersionString", "2.0"}});
    EXPECT_EQ(appVersionString(), "2.0");
    EXPECT_EQ(appBuildString(), "?");
    setMainBundleInfoDictionary({{"CFBundleShortVersionString", "2.0"}, {"CFBundleVersion", "12"}});
    EXPECT_EQ(appBuildString(), "12");
}

} // namespace
