#include "enforcement/DynamicAllowlistState.h"
#include "enforcement/AllowedWindowSpaceClassification.h"
#include "enforcement/WindowMaterializationOutcome.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(DynamicAllowlistStateTest, OriginalIdentifiersNeverCountAsDynamic)
{
    DynamicAllowlistState state({"a", "b"}, {"b", "c"});
    EXPECT_EQ(state.dynamicBundleIDs(), std::set<QString>{"c"});
    EXPECT_EQ(state.allowedBundleIDs(), (std::set<QString>{"a", "b", "c"}));
    state.insertDynamic("a");
    EXPECT_EQ(state.dynamicBundleIDs(), std::set<QString>{"c"});
}

TEST(DynamicAllowlistStateTest, RemovesOnlyDynamicIdentifiersWhileAnotherStaysAllowed)
{
    DynamicAllowlistState state({"a"}, {"c"});
    EXPECT_FALSE(state.remove("a"));
    EXPECT_FALSE(state.remove("missing"));
    EXPECT_TRUE(state.remove("c"));
    EXPECT_EQ(state.allowedBundleIDs(), std::set<QString>{"a"});

    DynamicAllowlistState onlyDynamic({}, {"c"});
    EXPECT_FALSE(onlyDynamic.remove("c"));
    EXPECT_TRUE(onlyDynamic.contains("c"));
}

TEST(DynamicAllowlistStateTest, LogTextsOfClassificationAndMaterialization)
{
    const AllowedWindowSpaceClassification classification{"a", AllowedWindowSpaceState::onOtherSpace, 0, 2, 0, 1};
    EXPECT_EQ(classification.description(),
              "spaceState=onOtherSpace, onScreenWindows=0, allWindows=2, minimized=0, axTotal=1");
    EXPECT_EQ(WindowMaterializationOutcome::failed("no URL").text(), "failed(no URL)");
    EXPECT_EQ(WindowMaterializationOutcome::requested().text(), "requested");
}
