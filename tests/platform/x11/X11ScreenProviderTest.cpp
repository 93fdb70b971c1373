#include "platform/x11/X11ScreenProvider.h"

#include <QGuiApplication>
#include <QScreen>

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(X11ScreenProviderTest, ListsQtsScreensPrimaryFirstWithBothCoordinateSystems)
{
    const X11ScreenProvider provider;
    const std::vector<ScreenInfo> screens = provider.screens();
    ASSERT_EQ(screens.size(), std::size_t(QGuiApplication::screens().size()));
    ASSERT_FALSE(screens.empty());
    const QScreen* primary = QGuiApplication::primaryScreen();
    EXPECT_EQ(screens.front().name, primary->name());
    // The primary display's bottom-left frame starts at the origin of that system.
    EXPECT_EQ(screens.front().frame,
              QRectF(primary->geometry().x(), 0, primary->geometry().width(), primary->geometry().height()));
    ASSERT_TRUE(screens.front().displayID);
    EXPECT_EQ(provider.displayBounds(*screens.front().displayID), QRectF(primary->geometry()));
    EXPECT_EQ(provider.displayBounds(999), std::nullopt);
    EXPECT_EQ(provider.mainScreen(), screens.front());
    // A display keeps its number.
    EXPECT_EQ(provider.screens().front().displayID, screens.front().displayID);
}

TEST(X11ScreenProviderTest, ConvertsBetweenTopLeftAndBottomLeftAboutThePrimaryDisplay)
{
    const X11ScreenProvider provider;
    const QRectF primary = QGuiApplication::primaryScreen()->geometry();
    const QRectF topLeft(100, 50, 300, 200);
    const QRectF bottomLeft = provider.cocoaRect(topLeft);
    EXPECT_EQ(bottomLeft, QRectF(100, primary.height() - 250, 300, 200));
    EXPECT_EQ(provider.quartzRect(bottomLeft), topLeft);
}

} // namespace
} // namespace vesk::platform::testing
