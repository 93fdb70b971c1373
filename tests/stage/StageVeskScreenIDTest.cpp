#include "stage/StageVeskScreenID.h"
#include "stage/StageVeskPhase.h"

#include "FixedScreens.h"

#include <gtest/gtest.h>

using namespace vesk;

using Screens = FixedScreens;

TEST(StageVeskScreenIDTest, PointLookupUsesMinInclusiveMaxExclusiveFrames)
{
    Screens screens;
    screens.add(1, QRectF(0, 0, 1440, 900));
    screens.add(std::nullopt, QRectF(1440, 0, 1920, 1080));
    const struct {
        Point point;
        std::optional<StageVeskScreenID> screen;
    } cases[] = {
        {{0, 0}, StageVeskScreenID{1}},     {{1439.5, 899}, StageVeskScreenID{1}},
        {{1440, 10}, StageVeskScreenID{0}}, {{3360, 10}, std::nullopt},
        {{100, 900}, std::nullopt},         {{-1, 10}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StageVeskScreenID::forPoint(screens, c.point), c.screen) << c.point.x << "," << c.point.y;
}

TEST(StageVeskScreenIDTest, MainScreenFallsBackToTheFirstThenZero)
{
    Screens screens;
    EXPECT_EQ(StageVeskScreenID::mainScreenID(screens), StageVeskScreenID{0});
    screens.add(3, QRectF(0, 0, 100, 100));
    screens.add(4, QRectF(100, 0, 100, 100));
    EXPECT_EQ(StageVeskScreenID::mainScreenID(screens), StageVeskScreenID{3});
    screens.main = screens.list[1];
    EXPECT_EQ(StageVeskScreenID::mainScreenID(screens), StageVeskScreenID{4});
}

TEST(StageVeskScreenIDTest, PhaseTexts)
{
    for (const QString raw : {"focus", "split", "tri", "quad", "freestyle"})
        EXPECT_EQ(toRaw(*fromRaw<StageVeskPhase>(raw)), raw);
    EXPECT_FALSE(fromRaw<StageVeskPhase>("Focus"));
}

TEST(StageVeskScreenIDTest, RectLookupPrefersLargestOverlapThenCentreThenMain)
{
    Screens screens;
    EXPECT_EQ(StageVeskScreenID::forRect(screens, {0, 0, 10, 10}), StageVeskScreenID{0});
    screens.add(1, QRectF(0, 0, 1000, 800));
    screens.add(2, QRectF(1200, 0, 1000, 800)); // a 200 pt gap between the two
    screens.main = screens.list[1];
    const struct {
        Rect rect;
        StageVeskScreenID screen;
    } cases[] = {
        {{900, 100, 500, 300}, {2}},  // 200 × 300 on the second, 100 × 300 on the first
        {{850, 100, 500, 300}, {1}},  // equal overlap: the earlier screen
        {{1010, 100, 180, 300}, {2}}, // in the gap: the main screen
        {{0, 0, 1000, 800}, {1}},     {{-50, 100, 100, 100}, {1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StageVeskScreenID::forRect(screens, c.rect), c.screen) << toString(c.rect).toStdString();
}

TEST(StageVeskScreenIDTest, ScreenWithoutNumberIsFoundAsZero)
{
    Screens screens;
    screens.add(7, QRectF(0, 0, 1440, 900));
    screens.add(std::nullopt, QRectF(1440, 0, 800, 500));
    EXPECT_EQ(StageVeskScreenID::allScreenIDs(screens),
              (std::vector<StageVeskScreenID>{StageVeskScreenID{7}, StageVeskScreenID{0}}));
    EXPECT_EQ(StageVeskScreenID::screen(screens, StageVeskScreenID{0})->frame, QRectF(1440, 0, 800, 500));
    EXPECT_FALSE(StageVeskScreenID::screen(screens, StageVeskScreenID{9}));
    EXPECT_EQ(StageVeskScreenID::screen(screens, std::nullopt)->frame, QRectF(0, 0, 1440, 900));
}

TEST(StageVeskScreenIDTest, DefaultWindowFrameInsetsTheFullFrameWithMinimumSize)
{
    Screens screens;
    EXPECT_EQ(StageVeskScreenID::defaultWindowFrame(screens, std::nullopt), (Rect{220, 80, 1064, 664}));
    screens.add(1, QRectF(0, 0, 1440, 900));
    screens.add(2, QRectF(1440, 0, 800, 500));
    screens.list[0].visibleFrame = QRectF(0, 0, 1440, 876); // the full frame counts, not the visible one
    EXPECT_EQ(StageVeskScreenID::defaultWindowFrame(screens, StageVeskScreenID{1}), (Rect{190, 80, 1220, 740}));
    EXPECT_EQ(StageVeskScreenID::defaultWindowFrame(screens, StageVeskScreenID{2}), (Rect{1630, 80, 640, 420}));
    screens.main = screens.list[1];
    EXPECT_EQ(StageVeskScreenID::defaultWindowFrame(screens, StageVeskScreenID{42}), (Rect{1630, 80, 640, 420}));
}
