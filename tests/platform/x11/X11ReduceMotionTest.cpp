#include "platform/x11/X11ReduceMotion.h"
#include "GSettingsScene.h"

#include "platform/x11/X11SystemInfo.h"

namespace vesk::platform::testing {
namespace {

class X11ReduceMotionTest : public GSettingsScene { };

TEST_F(X11ReduceMotionTest, ReadsTheAnimationsSwitchOnceAndOnRefresh)
{
    const GSettingsKey animations{interface, QStringLiteral("enable-animations")};
    ASSERT_TRUE(user->set(animations, QStringLiteral("false")).ok);
    GSettingsTool tool(environment);
    X11ReduceMotion reduceMotion(tool);
    EXPECT_TRUE(reduceMotion.shouldReduceMotion());

    int changes = 0;
    QObject receiver;
    reduceMotion.observeReduceMotion(&receiver, [&] { ++changes; });
    ASSERT_TRUE(user->set(animations, QStringLiteral("true")).ok);
    // Not read again until asked to.
    EXPECT_TRUE(reduceMotion.shouldReduceMotion());
    reduceMotion.refresh();
    EXPECT_FALSE(reduceMotion.shouldReduceMotion());
    EXPECT_EQ(changes, 1);
    reduceMotion.refresh();
    EXPECT_EQ(changes, 1);
}

TEST_F(X11ReduceMotionTest, ReadsTheDarkPreferenceOnce)
{
    const GSettingsKey scheme{interface, QStringLiteral("color-scheme")};
    const GSettingsKey theme{interface, QStringLiteral("gtk-theme")};
    GSettingsTool tool(environment);
    EXPECT_FALSE(X11SystemInfo(folder.path(), tool).isDarkAppearance());
    ASSERT_TRUE(user->set(scheme, QStringLiteral("'prefer-dark'")).ok);
    EXPECT_TRUE(X11SystemInfo(folder.path(), tool).isDarkAppearance());
    ASSERT_TRUE(user->set(scheme, QStringLiteral("'default'")).ok);
    ASSERT_TRUE(user->set(theme, QStringLiteral("'Adwaita-dark'")).ok);
    EXPECT_TRUE(X11SystemInfo(folder.path(), tool).isDarkAppearance());
}

TEST(X11ReduceMotionWithoutToolTest, MotionIsNotReducedWithoutTheTool)
{
    GSettingsTool missing(QProcessEnvironment::systemEnvironment(), QStringLiteral("/nonexistent/gsettings"));
    EXPECT_FALSE(X11ReduceMotion(missing).shouldReduceMotion());
    EXPECT_FALSE(X11SystemInfo(QStringLiteral("/nonexistent"), missing).isDarkAppearance());
}

} // namespace
} // namespace vesk::platform::testing
