#include "platform/x11/X11OwnApplication.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <gtest/gtest.h>

namespace vesk::platform::testing {
namespace {

TEST(X11OwnApplicationTest, TakesItsEntriesFromThisProcess)
{
    const QString fileName = QGuiApplication::desktopFileName();
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Vesk"));
    const OwnApplicationSpec spec = X11OwnApplication::specOfThisProcess();
    QGuiApplication::setDesktopFileName(fileName);
    EXPECT_EQ(spec.pid, ProcessID(QCoreApplication::applicationPid()));
    EXPECT_EQ(spec.bundleIdentifier, QStringLiteral("org.example.Vesk"));
    EXPECT_EQ(spec.name, QCoreApplication::applicationName());
}

TEST(X11OwnApplicationTest, TerminatesThroughTheDelegateAsItAnswers)
{
    struct Case {
        TerminateReply reply;
        std::optional<bool> lateReply;
        bool ended;
    };
    const Case cases[] = {
        {TerminateReply::now, std::nullopt, true},    {TerminateReply::cancel, std::nullopt, false},
        {TerminateReply::later, std::nullopt, false}, {TerminateReply::later, true, true},
        {TerminateReply::later, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.reply));
        X11OwnApplication own{OwnApplicationSpec{}};
        int asked = 0;
        int willTerminate = 0;
        int observed = 0;
        QObject receiver;
        own.setTerminationHandlers(
            [&] {
                ++asked;
                return c.reply;
            },
            [&] { ++willTerminate; });
        own.observeOwnTermination(&receiver, [&] { ++observed; });
        const bool endedAtOnce = own.requestOwnTermination();
        if (c.lateReply)
            own.replyToOwnTerminationRequest(*c.lateReply);
        EXPECT_EQ(endedAtOnce, c.reply == TerminateReply::now);
        EXPECT_EQ(own.isOwnApplicationTerminated(), c.ended);
        EXPECT_EQ(willTerminate, c.ended ? 1 : 0);
        EXPECT_EQ(observed, c.ended ? 1 : 0);
        // Ended, or still waiting for the late answer, it does not ask again.
        own.requestOwnTermination();
        const bool waiting = c.reply == TerminateReply::later && !c.lateReply;
        EXPECT_EQ(asked, c.ended || waiting ? 1 : 2);
        EXPECT_EQ(willTerminate, c.ended ? 1 : 0);
    }
}

TEST(X11OwnApplicationTest, AnUpdateChangesTheEntriesTheProcessReads)
{
    X11OwnApplication own{OwnApplicationSpec{}};
    own.installOwnBundleUpdate(QStringLiteral("2.0.0"), QStringLiteral("20"));
    EXPECT_EQ(own.ownApplication().version, QStringLiteral("2.0.0"));
    EXPECT_EQ(own.ownApplication().build, QStringLiteral("20"));
}

} // namespace
} // namespace vesk::platform::testing
