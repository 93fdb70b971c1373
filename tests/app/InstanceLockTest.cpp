#include "app/InstanceLock.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vesk;

namespace {

TEST(InstanceLockTest, OneHolderPerFolderUntilItLetsGo)
{
    QTemporaryDir directory;
    const QString folder = directory.filePath("data");
    QString error;
    auto first = InstanceLock::acquire(folder, 0, &error);
    ASSERT_TRUE(first) << error.toStdString();
    EXPECT_TRUE(QFileInfo::exists(folder + "/Vesk.lock"));

    EXPECT_FALSE(InstanceLock::acquire(folder, 0, &error));
    EXPECT_EQ(error, QStringLiteral("Vesk is already running with the data folder %1 (process %2); "
                                    "this instance ends without opening the store")
                         .arg(folder)
                         .arg(QCoreApplication::applicationPid()));
    // Another folder is another instance's business.
    EXPECT_TRUE(InstanceLock::acquire(directory.filePath("other"), 0, &error));

    first.reset();
    EXPECT_FALSE(QFileInfo::exists(folder + "/Vesk.lock"));
    EXPECT_TRUE(InstanceLock::acquire(folder, 0, &error));
}

// A process that ends without letting go (a crash, a kill) leaves its lock
// file behind; the next instance takes it over at once.
TEST(InstanceLockTest, TheLockOfAProcessThatHasEndedIsTakenOver)
{
    // The holder runs in a child process that starts this test again: it
    // finds the folder in the environment the parent set.
    QTemporaryDir directory;
    if (!qEnvironmentVariableIsSet("VESK_TEST_LOCK_FOLDER"))
        qputenv("VESK_TEST_LOCK_FOLDER", directory.path().toUtf8());
    const QString folder = qEnvironmentVariable("VESK_TEST_LOCK_FOLDER");

    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            QString error;
            InstanceLock::acquire(folder, 0, &error).release();
            std::_Exit(QFileInfo::exists(folder + "/Vesk.lock") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
    qunsetenv("VESK_TEST_LOCK_FOLDER");

    ASSERT_TRUE(QFileInfo::exists(folder + "/Vesk.lock")) << "the ended process left its lock";
    QString error;
    EXPECT_TRUE(InstanceLock::acquire(folder, 0, &error)) << error.toStdString();
}

} // namespace
