#include "app/InstanceChannel.h"
#include "app/InstanceClaim.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

using namespace vesk;

namespace {

using Answer = InstanceChannel::Answer;

// Runs `ask` on another thread, as a later start does from its own process,
// while this thread's event loop lets the channel answer.
template <typename Ask>
auto whileAnswering(Ask ask)
{
    auto result = std::async(std::launch::async, ask);
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return result.get();
}

Answer askForMainWindow(const QString& folder)
{
    return whileAnswering([folder] { return InstanceChannel::askForMainWindow(folder, 20000); });
}

class InstanceChannelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory_.isValid());
        ASSERT_TRUE(QDir().mkpath(folder_));
    }

    QTemporaryDir directory_;
    const QString folder_ = directory_.filePath("data");
};

TEST_F(InstanceChannelTest, TheRunningInstanceAnswersWithWhatItDid)
{
    for (const Answer answer : {Answer::shown, Answer::inSession, Answer::ending}) {
        int requests = 0;
        InstanceChannel channel(folder_, [&] {
            ++requests;
            return answer;
        });
        QString error;
        ASSERT_TRUE(channel.listen(&error)) << error.toStdString();

        EXPECT_EQ(askForMainWindow(folder_), answer);
        EXPECT_EQ(requests, 1);
    }
    // Once the instance is gone nobody answers, at once.
    EXPECT_EQ(InstanceChannel::askForMainWindow(folder_, 20000), Answer::none);
}

TEST_F(InstanceChannelTest, TheSocketIsTheUsersOwnAndOnePerDataFolder)
{
    const QString path = InstanceChannel::socketPath(folder_);
    EXPECT_EQ(QFileInfo(path).absolutePath(),
              QFileInfo(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)).absoluteFilePath());
    EXPECT_EQ(InstanceChannel::socketPath(folder_ + "/"), path);
    EXPECT_EQ(InstanceChannel::socketPath(directory_.filePath("other/../data")), path);
    const QString workingFolder = QDir::currentPath();
    QDir::setCurrent(directory_.path());
    EXPECT_EQ(InstanceChannel::socketPath(QStringLiteral("data")), path);
    QDir::setCurrent(workingFolder);
    EXPECT_NE(InstanceChannel::socketPath(directory_.filePath("other")), path);

    InstanceChannel channel(folder_, [] { return Answer::shown; });
    QString error;
    ASSERT_TRUE(channel.listen(&error)) << error.toStdString();
    EXPECT_EQ(QFile::permissions(path) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions())
        << "only the user reaches it";
}

// An instance that was killed leaves its socket behind; the next holder of
// the lock listens in its place.
TEST_F(InstanceChannelTest, ASocketLeftBehindIsReplaced)
{
    const QString path = InstanceChannel::socketPath(folder_);
    QFile leftover(path);
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();

    InstanceChannel channel(folder_, [] { return Answer::shown; });
    QString error;
    ASSERT_TRUE(channel.listen(&error)) << error.toStdString();
    EXPECT_EQ(askForMainWindow(folder_), Answer::shown);
}

// Only the one request is answered; anything else, or a line without end,
// is dropped without reaching the application.
TEST_F(InstanceChannelTest, AnythingButTheRequestIsDroppedUnanswered)
{
    int requests = 0;
    InstanceChannel channel(folder_, [&] {
        ++requests;
        return Answer::shown;
    });
    QString error;
    ASSERT_TRUE(channel.listen(&error)) << error.toStdString();

    for (const QByteArray& request :
         {QByteArray("quit\n"), QByteArray("main-window-and-more\n"), QByteArray(4096, 'x')}) {
        const QByteArray reply = whileAnswering([path = channel.path(), request] {
            QLocalSocket socket;
            socket.connectToServer(path);
            if (!socket.waitForConnected(20000))
                return QByteArray("not connected");
            socket.write(request);
            socket.waitForBytesWritten(20000);
            // The channel closes the connection; whatever came before is the reply.
            while (socket.state() == QLocalSocket::ConnectedState && socket.waitForReadyRead(20000)) { }
            return socket.readAll();
        });
        EXPECT_EQ(reply, QByteArray()) << request.left(30).toStdString();
    }
    EXPECT_EQ(requests, 0);
    EXPECT_EQ(askForMainWindow(folder_), Answer::shown) << "still answers a proper request";
}

TEST_F(InstanceChannelTest, AStartTakesTheFreeLockOrHandsOverToItsHolder)
{
    int asked = 0;
    auto answering = [&asked](Answer answer) {
        return [&asked, answer](const QString&) {
            ++asked;
            return answer;
        };
    };
    InstanceClaim first = InstanceClaim::make(folder_, 0, answering(Answer::shown));
    ASSERT_EQ(first.outcome, InstanceClaim::Outcome::locked);
    ASSERT_TRUE(first.lock);
    EXPECT_EQ(asked, 0) << "a free folder asks nobody";

    const struct {
        Answer answer;
        InstanceClaim::Outcome outcome;
        QString message;
    } cases[] = {
        {Answer::shown, InstanceClaim::Outcome::handedOver,
         "Vesk is already running with the data folder " + folder_ + "; its main window was brought to the front"},
        {Answer::inSession, InstanceClaim::Outcome::handedOver,
         "Vesk is already running with the data folder " + folder_
             + " and is in a focus session; its main window comes back when the session ends"},
        {Answer::ending, InstanceClaim::Outcome::refused,
         QStringLiteral("Vesk is already running with the data folder %1 (process %2); "
                        "this instance ends without opening the store")
             .arg(folder_)
             .arg(QCoreApplication::applicationPid())},
        {Answer::none, InstanceClaim::Outcome::refused,
         QStringLiteral("Vesk is already running with the data folder %1 (process %2); "
                        "this instance ends without opening the store")
             .arg(folder_)
             .arg(QCoreApplication::applicationPid())},
    };
    for (const auto& [answer, outcome, message] : cases) {
        asked = 0;
        const InstanceClaim second = InstanceClaim::make(folder_, 0, answering(answer));
        EXPECT_EQ(second.outcome, outcome) << message.toStdString();
        EXPECT_FALSE(second.lock);
        EXPECT_EQ(second.message, message);
        EXPECT_EQ(asked, 1);
    }

    // Over the real channel of the lock's holder.
    InstanceChannel channel(folder_, [] { return Answer::shown; });
    QString error;
    ASSERT_TRUE(channel.listen(&error)) << error.toStdString();
    const InstanceClaim overChannel = whileAnswering([folder = folder_] { return InstanceClaim::make(folder, 0); });
    EXPECT_EQ(overChannel.outcome, InstanceClaim::Outcome::handedOver) << overChannel.message.toStdString();

    // An instance that ended lets the next start have the lock.
    first.lock.reset();
    const InstanceClaim afterwards = InstanceClaim::make(folder_, 0, answering(Answer::shown));
    EXPECT_EQ(afterwards.outcome, InstanceClaim::Outcome::locked);
}

} // namespace
