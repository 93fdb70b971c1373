#include "store/NullSessionStore.h"

#include <gtest/gtest.h>

using namespace vesk;

TEST(NullSessionStore, CountsNothingAndAcceptsEveryCall)
{
    NullSessionStore store;
    SessionPersisting& persisting = store;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QUuid id = QUuid::createUuid();

    const StoreResult<int> recovered = persisting.recoverOrphanedSessions(now);
    ASSERT_TRUE(recovered.ok());
    EXPECT_EQ(recovered.value(), 0);
    const StoreResult<int> closed = persisting.closeActiveSessions(now, SessionEndReason::crash);
    ASSERT_TRUE(closed.ok());
    EXPECT_EQ(closed.value(), 0);
    EXPECT_TRUE(persisting.createSessionRecord(id, now, 900, QString("goal"), {"a"}, {"a"}).ok());
    EXPECT_TRUE(persisting.updateSessionAllowlist(id, {"a", "b"}, {"a", "b"}).ok());
    EXPECT_TRUE(persisting.stopSessionRecord(id, now, SessionEndReason::manualStop, {}, {"a"}).ok());
    EXPECT_TRUE(persisting.updateSessionReflection(id, GoalStatus::done, VeskHelpful::yes, QString("n"), now).ok());
    // Nothing was kept: a later recovery still finds nothing.
    EXPECT_EQ(persisting.recoverOrphanedSessions(now).value(), 0);
}
