#include "store/CurrentAllowlist.h"
#include "core/ManualScheduler.h"
#include "store/ModelContainer.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vesk;

namespace {

class CurrentAllowlistTest : public ::testing::Test {
protected:
    std::unique_ptr<ModelContainer> open()
    {
        auto opened = ModelContainer::open(dir.filePath("VeskData.store"));
        return opened.ok() ? std::move(opened).value() : nullptr;
    }

    QTemporaryDir dir;
    ManualScheduler clock;
};

} // namespace

TEST_F(CurrentAllowlistTest, FetchOrCreateMakesOneEmptyRecordAndThenReturnsIt)
{
    auto container = open();
    ASSERT_TRUE(container);
    auto created = CurrentAllowlist::fetchOrCreate(container->mainContext(), clock);
    ASSERT_TRUE(created);
    EXPECT_TRUE(created->appBundleIDs.isEmpty());
    EXPECT_EQ(created->goalText, std::nullopt);
    EXPECT_EQ(created->updatedAt, clock.now());
    EXPECT_FALSE(container->mainContext().hasChanges());
    EXPECT_EQ(CurrentAllowlist::fetchOrCreate(container->mainContext(), clock), created);

    auto reopened = open();
    ASSERT_EQ(reopened->mainContext().fetch<CurrentAllowlist>().value().size(), 1u);
}

TEST_F(CurrentAllowlistTest, ChangesAreKeptAfterSaving)
{
    auto container = open();
    auto allowlist = CurrentAllowlist::fetchOrCreate(container->mainContext(), clock);

    clock.advance(30);
    allowlist->setApps({"com.b", "com.a"}, clock);
    EXPECT_EQ(allowlist->appBundleIDs, (QStringList{"com.a", "com.b"}));
    EXPECT_EQ(allowlist->updatedAt, clock.now());
    clock.advance(30);
    allowlist->setGoal(QString("  Draft the chapter \n"), clock);
    EXPECT_EQ(allowlist->goalText, QString("Draft the chapter"));
    EXPECT_EQ(allowlist->updatedAt, clock.now());
    EXPECT_TRUE(container->mainContext().hasChanges());
    ASSERT_TRUE(container->mainContext().save().ok());

    auto reopened = open();
    auto stored = CurrentAllowlist::fetchOrCreate(reopened->mainContext(), clock);
    EXPECT_EQ(stored->appBundleIDs, (QStringList{"com.a", "com.b"}));
    EXPECT_EQ(stored->goalText, QString("Draft the chapter"));
    EXPECT_EQ(stored->updatedAt, clock.now());
}

TEST_F(CurrentAllowlistTest, EmptyAppsAndGoalStillUpdateTheTime)
{
    auto container = open();
    auto allowlist = CurrentAllowlist::fetchOrCreate(container->mainContext(), clock);
    allowlist->setApps({"com.a"}, clock);
    allowlist->setGoal(QString("goal"), clock);
    clock.advance(5);
    allowlist->setApps({}, clock);
    EXPECT_TRUE(allowlist->appBundleIDs.isEmpty());
    EXPECT_EQ(allowlist->updatedAt, clock.now());
    clock.advance(5);
    allowlist->setGoal(QString("   "), clock);
    EXPECT_EQ(allowlist->goalText, std::nullopt);
    EXPECT_EQ(allowlist->updatedAt, clock.now());
}

TEST_F(CurrentAllowlistTest, AFailedFetchCreatesANewRecordAndAFailedSaveLeavesItPending)
{
    auto container = open();
    ASSERT_TRUE(CurrentAllowlist::fetchOrCreate(container->mainContext(), clock));

    auto other = open();
    other->mainContext().setFaultInjector([](StoreOperation) { return StoreError{"store unavailable"}; });
    auto created = CurrentAllowlist::fetchOrCreate(other->mainContext(), clock);
    ASSERT_TRUE(created);
    EXPECT_TRUE(created->appBundleIDs.isEmpty());
    EXPECT_TRUE(other->mainContext().hasChanges());
}
