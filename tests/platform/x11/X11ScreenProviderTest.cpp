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

TEST(X11ScreenProviderTest, RelatesTheRootWindowToQtsScreensAtTheirScales)
{
    const X11ScreenProvider provider;
    const X11RootMapping& mapping = provider.rootMapping();
    ASSERT_EQ(mapping.displays.size(), std::size_t(QGuiApplication::screens().size()));
    const QScreen* primary = QGuiApplication::primaryScreen();
    EXPECT_EQ(mapping.primaryOrigin, QPointF(primary->geometry().topLeft()));
    EXPECT_EQ(mapping.displays.front().scale, primary->devicePixelRatio());
    EXPECT_EQ(mapping.displays.front().logicalOrigin, QPointF(primary->geometry().topLeft()));
}

TEST(X11RootMappingTest, MapsThroughTheDisplayThatHoldsTheRect)
{
    // A primary display at twice the scale at the root's origin, and a
    // second one to its right in the root, at its own scale.
    X11RootMapping mapping;
    mapping.displays = {{QRect(0, 0, 2560, 1600), QPointF(0, 0), 2.0},
                        {QRect(2560, 0, 1920, 1080), QPointF(1280, 0), 1.0}};
    struct Case {
        QRect root;
        QRectF quartz;
    };
    const Case cases[] = {
        {QRect(200, 100, 400, 300), QRectF(100, 50, 200, 150)},
        {QRect(2660, 40, 300, 200), QRectF(1380, 40, 300, 200)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(mapping.quartzFromRoot(c.root), c.quartz);
        EXPECT_EQ(mapping.rootFromQuartz(c.quartz), c.root);
    }
    // Without displays only the primary display's corner moves the rect.
    const X11RootMapping plain{{}, QPointF(10, 20)};
    EXPECT_EQ(plain.quartzFromRoot(QRect(50, 50, 10, 10)), QRectF(40, 30, 10, 10));
    EXPECT_EQ(plain.rootFromQuartz(QRectF(40, 30, 10, 10)), QRect(50, 50, 10, 10));
}

} // namespace
} // namespace vesk::platform::testing
