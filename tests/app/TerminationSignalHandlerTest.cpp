#include "app/TerminationSignalHandler.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <unistd.h>

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

// A handler, not yet installed, that records its calls and the thread they run on.
class TerminationSignalHandlerTest : public ::testing::Test {
protected:
    int sigterms = 0;
    std::vector<int> terminations;
    Qt::HANDLE callbackThread = nullptr;
    TerminationSignalHandler handler{[this] {
                                         ++sigterms;
                                         callbackThread = QThread::currentThreadId();
                                     },
                                     [this](int signal) {
                                         terminations.push_back(signal);
                                         callbackThread = QThread::currentThreadId();
                                     }};
};

TEST_F(TerminationSignalHandlerTest, SigtermRunsItsCallbackThenAsksForTerminationOnTheMainThread)
{
    ASSERT_TRUE(handler.install());

    ASSERT_EQ(::raise(SIGTERM), 0);
    EXPECT_EQ(sigterms, 0) << "nothing runs in signal context";
    ASSERT_TRUE(processEventsUntil([&] { return !terminations.empty(); }));
    EXPECT_EQ(sigterms, 1);
    EXPECT_EQ(terminations, std::vector<int>{SIGTERM});
    EXPECT_EQ(callbackThread, QThread::currentThreadId());
}

TEST_F(TerminationSignalHandlerTest, EachSignalThatEndsAProcessAsksForTermination)
{
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        TerminationSignalHandler own([] {}, [&](int received) { terminations.push_back(received); });
        ASSERT_TRUE(own.install());
        ASSERT_EQ(::raise(signal), 0);
        ASSERT_TRUE(processEventsUntil([&] { return !terminations.empty(); })) << signal;
        EXPECT_EQ(terminations, std::vector<int>{signal});
        terminations.clear();
    }
    EXPECT_EQ(sigterms, 0);
    EXPECT_EQ(TerminationSignalHandler::signalName(SIGHUP), "SIGHUP");
}

TEST_F(TerminationSignalHandlerTest, ASignalFromAnotherThreadReachesTheMainThread)
{
    ASSERT_TRUE(handler.install());

    std::unique_ptr<QThread> sender(QThread::create([] { ::raise(SIGINT); }));
    sender->start();
    sender->wait();
    ASSERT_TRUE(processEventsUntil([&] { return terminations.size() == 1; }));
    EXPECT_EQ(callbackThread, QThread::currentThreadId());
}

// A termination that hangs can still be cut short: the second signal takes
// its default action.
TEST_F(TerminationSignalHandlerTest, ASecondSignalBeforeTheProcessHasEndedEndsItAtOnce)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    for (const int signal : {SIGTERM, SIGINT}) {
        EXPECT_EXIT(
            {
                TerminationSignalHandler own([] {}, [](int) {});
                own.install();
                ::raise(signal);
                ::raise(signal);
                std::_Exit(0);
            },
            ::testing::KilledBySignal(signal), "")
            << signal;
    }
}

TEST_F(TerminationSignalHandlerTest, WritingToAClosedPipeFailsInsteadOfEndingTheProcess)
{
    TerminationSignalHandler::ignoreBrokenPipes();
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ::close(fds[0]);
    errno = 0;
    EXPECT_EQ(::write(fds[1], "x", 1), -1);
    EXPECT_EQ(errno, EPIPE);
    ::close(fds[1]);
}

TEST_F(TerminationSignalHandlerTest, OneHandlerAtATimeAndThePreviousActionsComeBack)
{
    std::vector<struct sigaction> before(4);
    const int handled[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};
    for (int i = 0; i < 4; ++i)
        ::sigaction(handled[i], nullptr, &before[i]);
    {
        TerminationSignalHandler first([] {}, [](int) {});
        ASSERT_TRUE(first.install());
        EXPECT_FALSE(first.install());
        TerminationSignalHandler second([] {}, [](int) {});
        EXPECT_FALSE(second.install());
        EXPECT_FALSE(second.isInstalled());

        for (int i = 0; i < 4; ++i) {
            struct sigaction during { };
            ::sigaction(handled[i], nullptr, &during);
            EXPECT_NE(during.sa_handler, before[i].sa_handler) << handled[i];
        }
    }
    for (int i = 0; i < 4; ++i) {
        struct sigaction after { };
        ::sigaction(handled[i], nullptr, &after);
        EXPECT_EQ(after.sa_handler, before[i].sa_handler) << handled[i];
    }

    TerminationSignalHandler third([] {}, [](int) {});
    EXPECT_TRUE(third.install());
}

} // namespace
