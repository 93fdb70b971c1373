#include "update/OwnFolderInstallation.h"

#include "QtPrinters.h"
#include "update/StandInRelease.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace vesk {
namespace {

// Every entry under a folder: a link's target, "folder", or a file's checksum.
std::map<QString, QString> snapshot(const QString& folder)
{
    std::map<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString path = QDir(folder).relativeFilePath(entry.filePath());
        if (entry.isSymLink()) {
            entries[path] = QStringLiteral("link to ") + entry.symLinkTarget();
        } else if (entry.isDir()) {
            entries[path] = QStringLiteral("folder");
        } else {
            QFile file(entry.filePath());
            file.open(QIODevice::ReadOnly);
            entries[path] =
                QString::fromLatin1(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256).toHex());
        }
    }
    return entries;
}

bool runs(const QString& program, const QString& marker)
{
    QFile::remove(marker);
    return QProcess::execute(program, {"--check"}) == 0 && test::standInRun(marker).value(1) == "--check";
}

class OwnFolderInstallationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        root = folder.filePath("opt/vesk");
        running = test::installStandIn(root, "1.0.0", marker("1.0.0"));
        ASSERT_FALSE(running.isEmpty());
    }

    QString marker(const QString& version) const { return folder.filePath("ran-" + version); }
    OwnFolderInstallation installation() const { return *OwnFolderInstallation::of(running); }
    QString archiveFile(const QByteArray& bytes) const
    {
        QFile file(folder.filePath("download.tar.gz"));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return file.fileName();
    }

    QTemporaryDir folder;
    QString root;
    QString running;
};

TEST_F(OwnFolderInstallationTest, TellsItsOwnFolderFromThePackageManagersFilesAndTheRest)
{
    using Origin = OwnFolderInstallation::Origin;
    struct Case {
        QString path;
        Origin origin;
    };
    QDir(root).mkpath("versions/1.0.0/lib");
    for (const Case& c :
         {Case{running, Origin::ownFolder}, Case{"/usr/bin/vesk", Origin::packageManager},
          Case{"/usr/local/bin/vesk", Origin::elsewhere}, Case{"/home/someone/vesk/build/vesk", Origin::elsewhere},
          Case{root + "/versions/1.0.0/lib/vesk", Origin::elsewhere},
          Case{folder.filePath("other/versions/1.0.0/bin/vesk"), Origin::elsewhere}})
        EXPECT_EQ(OwnFolderInstallation::originOf(c.path), c.origin) << c.path.toStdString();
    EXPECT_EQ(installation().root(), root);
    EXPECT_EQ(installation().runningVersion(), "1.0.0");
    EXPECT_EQ(installation().currentVersion(), "1.0.0");
}

TEST_F(OwnFolderInstallationTest, InstallsBesideTheRunningVersionAndSwitchesToIt)
{
    const QByteArray archive = test::standInArchive(folder.path(), marker("2.0"));
    ASSERT_FALSE(archive.isEmpty());
    EXPECT_EQ(installation().install(archiveFile(archive), "2.0"), std::nullopt);

    EXPECT_EQ(installation().currentVersion(), "2.0");
    EXPECT_EQ(QFileInfo(root + "/current").symLinkTarget(), QFileInfo(root + "/versions/2.0").absoluteFilePath());
    EXPECT_TRUE(runs(root + "/current/bin/vesk", marker("2.0")));
    EXPECT_TRUE(QFileInfo::exists(root + "/versions/2.0/share/doc/vesk/README.md"));
    EXPECT_EQ(installation().executableOf("2.0"), root + "/versions/2.0/bin/vesk");
    EXPECT_EQ(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{"current", "versions"}));

    // The old version stays until the new one has started.
    installation().removeOtherVersions();
    EXPECT_TRUE(runs(running, marker("1.0.0")));
    const std::optional<OwnFolderInstallation> updated = OwnFolderInstallation::of(root + "/versions/2.0/bin/vesk");
    ASSERT_TRUE(updated.has_value()) << "the old version left the new one in place";
    updated->removeOtherVersions();
    EXPECT_EQ(QDir(root + "/versions").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"2.0"});
}

TEST_F(OwnFolderInstallationTest, AnInstallThatFailsAnywhereLeavesTheRunningVersionAsItWas)
{
    const QByteArray archive = test::standInArchive(folder.path(), marker("2.0"));
    const QString noProgram = folder.filePath("no-program");
    QDir().mkpath(noProgram + "/share");
    QProcess::execute("tar", {"--create", "--gzip", "--file", noProgram + ".tar.gz", "--directory", noProgram, "."});
    QFile noProgramArchive(noProgram + ".tar.gz");
    noProgramArchive.open(QIODevice::ReadOnly);

    struct Case {
        const char* name;
        QByteArray archive;
        QString version;
        // Makes the switch itself fail: something in the way of the new link.
        bool blockSwitch = false;
    };
    const Case cases[] = {
        {"not an archive", QByteArray(5000, 'x'), "2.0"},
        {"cut off half-way", archive.left(archive.size() / 2), "2.0"},
        {"no program", noProgramArchive.readAll(), "2.0"},
        {"the switch fails", archive, "2.0", true},
        {"a version that is no folder name", archive, "../2.0"},
        {"the running version", archive, "1.0.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.blockSwitch)
            QDir(root).mkpath(".incoming-current/in-the-way");
        const std::map<QString, QString> before = snapshot(root);
        const std::optional<QString> problem = installation().install(archiveFile(c.archive), c.version);
        ASSERT_TRUE(problem.has_value());
        EXPECT_FALSE(problem->isEmpty());
        EXPECT_EQ(snapshot(root), before);
        EXPECT_EQ(installation().currentVersion(), "1.0.0");
        EXPECT_TRUE(runs(root + "/current/bin/vesk", marker("1.0.0"))) << "the old version still starts";
        if (c.blockSwitch)
            QDir(root + "/.incoming-current").removeRecursively();
    }
}

} // namespace
} // namespace vesk
