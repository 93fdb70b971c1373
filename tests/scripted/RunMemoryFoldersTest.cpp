#include "scripted/RunMemoryFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace vesk;

namespace {

void writeFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray fileContents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A run folder on a disk (the test folder), as on the continuous integration.
class RunMemoryFoldersTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (RunMemoryFolders::memoryBackedPlace().isEmpty())
            GTEST_SKIP() << "no memory-backed folder on this machine";
        if (RunMemoryFolders::isInMemory(run_.path()))
            GTEST_SKIP() << "the test folder is in memory itself";
    }

    QString entry(const QString& name) const { return run_.filePath(name); }

    QTemporaryDir run_;
};

TEST_F(RunMemoryFoldersTest, EntriesAreWrittenInMemoryAndEndAsPlainFoldersInTheRunFolder)
{
    auto folders = RunMemoryFolders::linkInto(run_.path(), {"logs", "defaults"});
    ASSERT_NE(folders, nullptr);
    ASSERT_TRUE(QFileInfo(entry("logs")).isSymLink());
    const QString memory = QFileInfo(entry("logs")).symLinkTarget();
    EXPECT_TRUE(RunMemoryFolders::isInMemory(memory));
    ASSERT_TRUE(QDir().mkpath(entry("logs") + "/nested"));
    writeFile(entry("logs") + "/nested/log.md", "| row |\n");
    writeFile(entry("defaults") + "/suite.json", "{}");

    EXPECT_EQ(folders->moveIntoRunFolder(), std::nullopt);

    for (const char* name : {"logs", "defaults"}) {
        EXPECT_FALSE(QFileInfo(entry(name)).isSymLink()) << name;
        EXPECT_TRUE(QFileInfo(entry(name)).isDir()) << name;
    }
    EXPECT_EQ(fileContents(entry("logs") + "/nested/log.md"), "| row |\n");
    EXPECT_EQ(fileContents(entry("defaults") + "/suite.json"), "{}");
    EXPECT_FALSE(QFileInfo::exists(memory));
}

TEST_F(RunMemoryFoldersTest, AnEntryNoLongerALinkIsLeftAloneAndItsFilesStayInMemory)
{
    auto folders = RunMemoryFolders::linkInto(run_.path(), {"logs"});
    ASSERT_NE(folders, nullptr);
    const QString memory = QFileInfo(entry("logs")).symLinkTarget();
    writeFile(entry("logs") + "/log.md", "| row |\n");
    ASSERT_TRUE(QFile::remove(entry("logs")));
    ASSERT_TRUE(QDir().mkpath(entry("logs")));
    writeFile(entry("logs") + "/other.md", "other");

    const std::optional<QString> failure = folders->moveIntoRunFolder();
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->contains(entry("logs"))) << failure->toStdString();
    EXPECT_EQ(fileContents(entry("logs") + "/other.md"), "other");
    EXPECT_EQ(fileContents(memory + "/log.md"), "| row |\n");
    folders.reset();
    EXPECT_EQ(fileContents(memory + "/log.md"), "| row |\n");
    QDir(QFileInfo(memory).path()).removeRecursively();
}

TEST_F(RunMemoryFoldersTest, ARunFolderInMemoryKeepsItsEntriesItself)
{
    QTemporaryDir inMemory(QDir(RunMemoryFolders::memoryBackedPlace()).filePath("run-XXXXXX"));
    ASSERT_TRUE(inMemory.isValid());
    EXPECT_EQ(RunMemoryFolders::linkInto(inMemory.path(), {"logs"}), nullptr);
    EXPECT_FALSE(QFileInfo::exists(inMemory.filePath("logs")));
}

} // namespace
