#include "app/SigtermHandler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <pthread.h>

using namespace vesk;

namespace {

// Delivers events until `done` holds or a second has passed (the notifier
// needs a turn of the event loop; nothing here waits for a timer).
template <typename Predicate>
bool processEventsUntil(Predicate done)
{
    QDeadlineTimer deadline(1000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// A handler, not yet installed, that counts its calls and notes the thread
// they run on.
class SigtermHandlerTest : public ::testing::Test {
protected:
    int calls = 0;
    Qt::HANDLE callbackThread = nullptr;
    SigtermHandler handler{[this] {
        ++calls;
        callbackThread = QThread::currentThreadId();
    }};
};

TEST_F(SigtermHandlerTest, RunsTheCallbackOnTheMainThreadAndKeepsTheProcessAlive)
{
    ASSERT_TRUE(handler.install());

    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_EQ(calls, 0) << "nothing runs in signal context";
    ASSERT_TRUE(processEventsUntil([&] { return calls == 1; }));
    EXPECT_EQ(callbackThread, QThread::currentThreadId());

    // A second signal is handled again; the process is still here to see it.
    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_TRUE(processEventsUntil([&] { return calls == 2; }));
}

TEST_F(SigtermHandlerTest, ASignalFromAnotherThreadReachesTheMainThread)
{
    ASSERT_TRUE(handler.install());

    std::unique_ptr<QThread> sender(QThread::create([] { ::raise(SIGTERM); }));
    sender->start();
    sender->wait();
    ASSERT_TRUE(processEventsUntil([&] { return calls == 1; }));
    EXPECT_EQ(callbackThread, QThread::currentThreadId());
}

TEST_F(SigtermHandlerTest, OneHandlerAtATimeAndThePreviousActionComesBack)
{
    struct sigaction before {};
    ::sigaction(SIGTERM, nullptr, &before);
    {
        SigtermHandler first([] {});
        ASSERT_TRUE(first.install());
        EXPECT_FALSE(first.install());
        SigtermHandler second([] {});
        EXPECT_FALSE(second.install());
        EXPECT_FALSE(second.isInstalled());

        struct sigaction during {};
        ::sigaction(SIGTERM, nullptr, &during);
        EXPECT_NE(during.sa_handler, before.sa_handler);
    }
    struct sigaction after {};
    ::sigaction(SIGTERM, nullptr, &after);
    EXPECT_EQ(after.sa_handler, before.sa_handler);

    SigtermHandler third([] {});
    EXPECT_TRUE(third.install());
}

} // namespace
