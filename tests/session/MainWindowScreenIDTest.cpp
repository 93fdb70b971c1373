#include "session/MainWindowScreenID.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(MainWindowScreenIDTest, TheFirstWindowThatIsNotAPanelDecides)
{
    const StageVeskScreenID left{1};
    const StageVeskScreenID right{2};
    EXPECT_EQ(mainWindowScreenID({{true, left}, {false, right}, {false, left}}), right);
    // The first non-panel window without a screen gives none, even when a later one has one.
    EXPECT_EQ(mainWindowScreenID({{true, left}, {false, std::nullopt}, {false, right}}), std::nullopt);
    EXPECT_EQ(mainWindowScreenID({{true, left}, {true, right}}), std::nullopt);
    EXPECT_EQ(mainWindowScreenID({}), std::nullopt);
}
