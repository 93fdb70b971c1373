#include "stage/StageVeskPhase.h"
#include "stage/StageVeskScreenID.h"

#include <gtest/gtest.h>

using namespace vesk;

namespace {

class Screens final : public platform::ScreenProviding {
public:
    std::vector<platform::ScreenInfo> list;
    std::optional<platform::ScreenInfo> main;

    void add(std::optional<quint32> id, QRectF frame)
    {
        platform::ScreenInfo screen;
        screen.displayID = id;
        screen.frame = frame;
        list.push_back(screen);
    }
    std::vector<platform::ScreenInfo> screens() const override { return list; }
    std::optional<platform::ScreenInfo> mainScreen() const override { return main; }
    std::optional<QRectF> displayBounds(quint32) const override { return std::nullopt; }
};

} // namespace

TEST(StageVeskScreenIDTest, PointLookupUsesMinInclusiveMaxExclusiveFrames)
{
    Screens screens;
    screens.add(1, QRectF(0, 0, 1440, 900));
    screens.add(std::nullopt, QRectF(1440, 0, 1920, 1080));
    const struct {
        Point point;
        std::optional<StageVeskScreenID> screen;
    } cases[] = {
        {{0, 0}, StageVeskScreenID{1}},
        {{1439.5, 899}, StageVeskScreenID{1}},
        {{1440, 10}, StageVeskScreenID{0}},
        {{3360, 10}, std::nullopt},
        {{100, 900}, std::nullopt},
        {{-1, 10}, std::nullopt},
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
