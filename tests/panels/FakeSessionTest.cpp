#include "FakeSession.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace vesk::test {
namespace {

// The views rely on the fake notifying as the session manager does: once per
// real change, never for an equal value.
TEST(FakeSessionTest, NotifiesOncePerRealChangeAndRecordsTheOperations)
{
    FakeSession session;
    session.setAllowlist(DynamicAllowlistState({QStringLiteral("com.o")}, {}));
    QSignalSpy changed(&session, &SessionControlling::changed);

    session.setGoal(QStringLiteral("Write"));
    session.setGoal(QStringLiteral("Write"));
    session.addApp(QStringLiteral("com.a"), std::nullopt, StageVeskScreenID{2});
    session.addApp(QStringLiteral("com.a"), std::nullopt, StageVeskScreenID{2});
    session.removeApp(QStringLiteral("com.a"));

    EXPECT_EQ(changed.count(), 3);
    EXPECT_EQ(session.calls, QStringList({"addApp(com.a, none, 2)", "addApp(com.a, none, 2)", "removeApp(com.a)"}));
    EXPECT_EQ(session.dynamicAllowlist().allowedBundleIDs(), std::set<QString>{QStringLiteral("com.o")});
}

} // namespace
} // namespace vesk::test
