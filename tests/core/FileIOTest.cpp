#include "core/FileIO.h"

#include "UnreadableInputFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <memory>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using vesk::InputFileContents;
using vesk::readInputFile;

namespace {

// Reads in a thread of its own, so that a read that blocks fails the test
// instead of hanging it (the thread is then left to the end of the process).
std::optional<InputFileContents> readWithinSeconds(const QString& path, int seconds)
{
    auto result = std::make_shared<std::promise<InputFileContents>>();
    std::future<InputFileContents> future = result->get_future();
    std::thread([result, path] { result->set_value(readInputFile(path)); }).detach();
    if (future.wait_for(std::chrono::seconds(seconds)) != std::future_status::ready)
        return std::nullopt;
    return future.get();
}

TEST(ReadInputFile, ReadsARegularFileWhole)
{
    QTemporaryDir directory;
    QFile file(directory.filePath("script.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray contents = QByteArray(200 * 1024, 'x') + "end";
    file.write(contents);
    file.close();

    const InputFileContents read = readInputFile(file.fileName());
    EXPECT_TRUE(read.ok()) << read.error.toStdString();
    EXPECT_EQ(read.data, contents);
    EXPECT_EQ(readInputFile(directory.filePath("missing.json")).error, "no such file");
}

TEST(ReadInputFile, DevicesFifosAndLargeFilesAreRefusedWithoutWaiting)
{
    QTemporaryDir directory;
    for (const auto& [path, reason] : vesk::test::unreadableInputFiles(directory)) {
        const std::optional<InputFileContents> read = readWithinSeconds(path, 10);
        ASSERT_TRUE(read.has_value()) << path.toStdString() << " blocked";
        EXPECT_EQ(read->error, reason) << path.toStdString();
    }
}

// The kernel's message file is "regular" and empty to look at, yet a read
// waits for the next kernel message. Reading it takes the messages pending.
TEST(ReadInputFile, AFileThatLooksRegularButWaitsForDataFailsInsteadOfBlocking)
{
    const QString path = QStringLiteral("/proc/kmsg");
    const int probe = ::open(path.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    if (probe < 0)
        GTEST_SKIP() << "/proc/kmsg cannot be opened here";
    ::close(probe);
    ASSERT_TRUE(QFileInfo(path).isFile());

    const std::optional<InputFileContents> read = readWithinSeconds(path, 10);
    ASSERT_TRUE(read.has_value()) << "reading /proc/kmsg blocked";
    EXPECT_FALSE(read->ok());
    EXPECT_TRUE(read->error.contains("would block")) << read->error.toStdString();
    EXPECT_TRUE(read->data.isEmpty());
}

} // namespace
